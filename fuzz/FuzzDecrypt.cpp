// DecryptByte on any frame under any key (the first line), and a round trip: what is
// encrypted decrypts to itself.
#include "FuzzSupport.h"

#include "cipher/clsDES.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AnswerBoxesQuietly();
    QString key, rest;
    Split(data, size, key, rest);
    const qsizetype cut = static_cast<qsizetype>(key.toUtf8().size()) + 1;
    QByteArray frame(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    frame = frame.mid(std::min(cut, frame.size()));
    clsDES des;
    QByteArray copy = frame;
    des.DecryptByte(copy, key);
    QByteArray plain = frame;
    des.EncryptByte(plain, key);
    des.DecryptByte(plain, key);
    if (plain != frame)
        Broken("a round trip does not give the data back");
    return 0;
}
