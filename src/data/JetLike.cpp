#include "data/JetLike.h"

#include <QChar>
#include <QString>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The letters outside ASCII whose folded form is an ASCII letter (the Kelvin sign, the long
// s): only text holding one of them needs the slow path to match an ASCII literal.
struct FoldsToAscii {
    std::array<char, 128> lower{};
    std::vector<std::string> sequences; // those letters in UTF-8
    FoldsToAscii() {
        for (int c = 0; c < 128; ++c)
            lower[static_cast<size_t>(c)] =
                static_cast<char>(QChar(static_cast<char16_t>(c)).toCaseFolded().unicode());
        for (char32_t c = 128; c < 0x10000; ++c) { // none beyond the BMP folds to ASCII
            if (QChar::toCaseFolded(c) < 128)
                sequences.push_back(
                    QString(QChar(static_cast<char16_t>(c))).toUtf8().toStdString());
        }
    }
};

const FoldsToAscii& Folds() {
    static const FoldsToAscii folds;
    return folds;
}

} // namespace

std::u32string FoldForLike(QStringView text) {
    const QString folded = text.toString().toCaseFolded();
    std::u32string out;
    out.reserve(folded.size());
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const QChar c = folded[i];
        if (c.isHighSurrogate() && i + 1 < folded.size() && folded[i + 1].isLowSurrogate()) {
            out.push_back(QChar::surrogateToUcs4(c, folded[i + 1]));
            ++i;
        } else {
            out.push_back(c.unicode());
        }
    }
    return out;
}

JetLikePattern::JetLikePattern(QStringView pattern) {
    const std::u32string p = FoldForLike(pattern);
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == U'%') {
            if (items_.empty() || items_.back().kind != Item::Any)
                items_.emplace_back(Item::Any);
        } else if (c == U'_') {
            items_.emplace_back(Item::One);
        } else if (c == U'[') {
            const size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos) {
                // An unclosed bracket stands for itself.
                items_.emplace_back(Item::Char, c);
                continue;
            }
            Item set(Item::Set);
            size_t k = i + 1;
            if (k < close && p[k] == U'!') {
                set.negated = true;
                ++k;
            }
            for (; k < close; ++k) {
                // A - between two characters is a range; first or last it is literal.
                if (k + 2 < close && p[k + 1] == U'-')
                    set.ranges.emplace_back(p[k], p[k + 2]), k += 2;
                else
                    set.ranges.emplace_back(p[k], p[k]);
            }
            items_.push_back(std::move(set));
            i = close;
        } else {
            items_.emplace_back(Item::Char, c);
        }
    }
    // % literal %, with the literal plain ASCII: the form every search builds.
    size_t first = 0, last = items_.size();
    anyBefore_ = first < last && items_[first].kind == Item::Any;
    if (anyBefore_)
        ++first;
    anyAfter_ = last > first && items_[last - 1].kind == Item::Any;
    if (anyAfter_)
        --last;
    asciiLiteral_ = true;
    for (size_t k = first; k < last && asciiLiteral_; ++k) {
        asciiLiteral_ = items_[k].kind == Item::Char && items_[k].ch < 128;
        literal_.push_back(static_cast<char>(items_[k].ch));
    }
}

bool JetLikePattern::MatchesAsciiLiteral(std::string_view text) const {
    const auto& lower = Folds().lower;
    const size_t n = text.size(), m = literal_.size();
    auto at = [&](size_t i) {
        for (size_t k = 0; k < m; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            if (b >= 128 || lower[b] != literal_[k])
                return false;
        }
        return true;
    };
    if (m > n)
        return false;
    if (!anyBefore_ && !anyAfter_)
        return n == m && at(0);
    if (!anyBefore_)
        return at(0);
    if (!anyAfter_)
        return at(n - m);
    if (m == 0)
        return true;
    // Candidates are where the literal's first letter stands, in either case; memchr finds
    // them far faster than a loop over every byte.
    const char first = literal_[0];
    const char other = static_cast<char>(QChar::toUpper(static_cast<char32_t>(first)));
    const char* data = text.data();
    const size_t last = n - m; // the last place a match can start
    auto next = [&](char c, size_t from) -> size_t {
        if (from > last)
            return SIZE_MAX;
        const void* hit = std::memchr(data + from, c, last - from + 1);
        return hit ? static_cast<size_t>(static_cast<const char*>(hit) - data) : SIZE_MAX;
    };
    size_t a = next(first, 0), b = other == first ? SIZE_MAX : next(other, 0);
    while (a != SIZE_MAX || b != SIZE_MAX) {
        const size_t i = std::min(a, b);
        if (at(i))
            return true;
        if (i == a)
            a = next(first, i + 1);
        else
            b = next(other, i + 1);
    }
    return false;
}

bool JetLikePattern::MatchesUtf8(std::string_view text) const {
    if (asciiLiteral_) {
        if (MatchesAsciiLiteral(text))
            return true;
        // No ASCII match: the answer stands unless the text holds a letter folding to ASCII;
        // anchored forms count characters, so for them any text outside ASCII counts too.
        bool slow = false;
        if (!anyBefore_ || !anyAfter_)
            slow = std::any_of(text.begin(), text.end(),
                               [](char c) { return static_cast<unsigned char>(c) >= 128; });
        for (const std::string& sequence : Folds().sequences)
            slow = slow || text.find(sequence) != std::string_view::npos;
        if (!slow)
            return false;
    }
    return Matches(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool JetLikePattern::MatchesOne(const Item& item, char32_t c) const {
    switch (item.kind) {
    case Item::One:
        return true;
    case Item::Char:
        return item.ch == c;
    case Item::Set: {
        bool in = false;
        for (const auto& [lo, hi] : item.ranges)
            if (c >= lo && c <= hi) {
                in = true;
                break;
            }
        return in != item.negated;
    }
    case Item::Any:
        break;
    }
    return false;
}

bool JetLikePattern::Matches(QStringView textView) const {
    const std::u32string text = FoldForLike(textView);
    // Greedy match with backtracking to the last %: every other item takes one character.
    size_t ti = 0, pi = 0;
    size_t starP = SIZE_MAX, starT = 0;
    while (ti < text.size()) {
        if (pi < items_.size() && items_[pi].kind == Item::Any) {
            starP = pi++;
            starT = ti;
        } else if (pi < items_.size() && MatchesOne(items_[pi], text[ti])) {
            ++pi;
            ++ti;
        } else if (starP != SIZE_MAX) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < items_.size() && items_[pi].kind == Item::Any)
        ++pi;
    return pi == items_.size();
}
