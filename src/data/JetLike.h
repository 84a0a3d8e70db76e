#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// A Jet LIKE pattern: % any run, _ one character, [abc] [a-z] [!abc] one character of a set;
// inside brackets every character stands for itself. Letter case is ignored.
class JetLikePattern {
public:
    explicit JetLikePattern(QStringView pattern);
    bool Matches(QStringView text) const;

private:
    struct Item {
        enum Kind { Any, One, Char, Set };
        Item(Kind k, char32_t c = 0) : kind(k), ch(c) {}
        Kind kind;
        char32_t ch;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };
    bool MatchesOne(const Item& item, char32_t c) const;
    std::vector<Item> items_;
};

// Folded code points, so letter case no longer counts.
std::u32string FoldForLike(QStringView text);
