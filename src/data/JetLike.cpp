#include "data/JetLike.h"

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
