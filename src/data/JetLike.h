#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>
#include <vector>

// A Jet LIKE pattern: % any run, _ one character, [abc] [a-z] [!abc] one character of a set;
// inside brackets every character stands for itself. Letter case is ignored.
class JetLikePattern {
public:
    explicit JetLikePattern(QStringView pattern);
    bool Matches(QStringView text) const;
    // The same on UTF-8 text. A pattern that is a plain ASCII text with % at either end (what
    // searches build) is matched on the bytes without converting them.
    bool MatchesUtf8(std::string_view text) const;

private:
    bool MatchesAsciiLiteral(std::string_view text) const;

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
    // The fast form: % literal %, literal %, % literal or literal, the literal folded ASCII.
    bool asciiLiteral_ = false;
    bool anyBefore_ = false;
    bool anyAfter_ = false;
    std::string literal_;
};

// Folded code points, so letter case no longer counts.
std::u32string FoldForLike(QStringView text);
