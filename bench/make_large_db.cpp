// make-large-db OUTPUT: writes a realistic large pengkalan.dat for the benchmarks.
#include "LargeDb.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-large-db OUTPUT\n");
        return 2;
    }
    return MakeLargeDatabase(QStringLiteral(PIMORA_TEMPLATE_DB), QString::fromLocal8Bit(argv[1]))
               ? 0
               : 1;
}
