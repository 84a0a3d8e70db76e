#include "FuzzSupport.h"

#include "platform/Prompter.h"

#include <cstdio>
#include <cstdlib>

QString Text(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void Split(const uint8_t* data, size_t size, QString& first, QString& rest) {
    const QString all = Text(data, size);
    const qsizetype cut = all.indexOf(QLatin1Char('\n'));
    first = cut < 0 ? all : all.left(cut);
    rest = cut < 0 ? QString() : all.mid(cut + 1);
}

namespace {
class Quiet : public Prompter {
public:
    MsgResult Message(const QString&, MsgButtons buttons, MsgIcon, const QString&) override {
        return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::No;
    }
    QString Input(const QString&, const QString&, const QString&) override { return {}; }
};
} // namespace

void AnswerBoxesQuietly() {
    static bool done = false;
    if (!done) {
        InstallPrompter(std::make_unique<Quiet>());
        done = true;
    }
}

void Broken(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}
