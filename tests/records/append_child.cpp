// Appends records to a course folder's results file, as one computer of a
// school does: append_child <course folder> <student> <count> <start msecs since epoch>
// Record i of the run carries i as its seconds, so the parent can check order.
#include "platform/clock.h"
#include "platform/errors.h"
#include "records/resultsfile.h"

#include <QDateTime>
#include <QString>
#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s folder student count start-msecs\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const auto student = static_cast<qint16>(std::atoi(argv[2]));
    const int count = std::atoi(argv[3]);
    const qint64 start = std::atoll(argv[4]);
    // Every child starts at the same moment, so the appends really collide.
    const qint64 wait = start - QDateTime::currentMSecsSinceEpoch();
    if (wait > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    vc::SystemClock clock;
    try {
        for (int i = 0; i < count; ++i)
            vc::appendResultRecord({folder, QStringLiteral("RACE"), student}, 3, i, clock);
    } catch (const vc::DataError& e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
