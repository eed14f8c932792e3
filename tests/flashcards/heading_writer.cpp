// Another computer storing the sheet heading over and over:
// heading_writer <path> <heading> <times>
#include "flashcards/wordsheet.h"
#include "platform/errors.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s path heading times\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString heading = QString::fromUtf8(argv[2]);
    try {
        for (int i = 0, n = std::atoi(argv[3]); i < n; ++i)
            vc::writeHeading(path, heading);
    } catch (const vc::DataError& e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
