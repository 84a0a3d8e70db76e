// LIKE: a pattern (first line) against a text (the rest). The fast path on UTF-8 must answer
// as the full matcher does.
#include "FuzzSupport.h"

#include "data/JetLike.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString pattern, text;
    Split(data, size, pattern, text);
    const JetLikePattern like(pattern);
    const QByteArray bytes = text.toUtf8();
    if (like.Matches(text) != like.MatchesUtf8(std::string_view(bytes.constData(), bytes.size())))
        Broken("the UTF-8 path and the full matcher disagree");
    return 0;
}
