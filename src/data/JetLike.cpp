#include "data/JetLike.h"

#include <QChar>
#include <QString>
#include <array>

namespace {

// The letters outside ASCII whose folded form is an ASCII letter (the Kelvin sign, the long
// s): only text holding one of them needs the slow path to match an ASCII literal.
struct FoldsToAscii {
    std::array<char, 128> lower{};
    std::vector<std::pair<char32_t, char>> others;
    FoldsToAscii() {
        for (int c = 0; c < 128; ++c)
            lower[static_cast<size_t>(c)] =
                static_cast<char>(QChar(static_cast<char16_t>(c)).toCaseFolded().unicode());
        for (char32_t c = 128; c < 0x10000; ++c) { // none beyond the BMP folds to ASCII
            const char32_t f = QChar::toCaseFolded(c);
            if (f < 128)
                others.emplace_back(c, static_cast<char>(f));
        }
    }
};

const FoldsToAscii& Folds() {
    static const FoldsToAscii folds;
    return folds;
}

// The code point of a UTF-8 sequence at text[i], and its length.
char32_t Decode(std::string_view text, size_t i, size_t& length) {
    const auto b = static_cast<unsigned char>(text[i]);
    length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (i + length > text.size()) {
        length = 1;
        return 0xFFFD;
    }
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (size_t k = 1; k < length; ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return c;
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
    const char first = literal_[0];
    for (size_t i = 0; i + m <= n; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 128 && lower[b] == first && at(i))
            return true;
    }
    return false;
}

bool JetLikePattern::MatchesUtf8(std::string_view text) const {
    if (asciiLiteral_) {
        if (MatchesAsciiLiteral(text))
            return true;
        // No ASCII match: the answer stands unless the text holds a letter folding to ASCII.
        // Anchored forms count code points, so text outside ASCII needs the slow path too.
        bool slow = false;
        for (size_t i = 0; i < text.size() && !slow;) {
            const auto b = static_cast<unsigned char>(text[i]);
            if (b < 128) {
                ++i;
                continue;
            }
            if (!anyBefore_ || !anyAfter_)
                slow = true;
            size_t length = 1;
            const char32_t c = Decode(text, i, length);
            for (const auto& [other, folded] : Folds().others)
                slow = slow || other == c;
            i += length;
        }
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
