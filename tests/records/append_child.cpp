// Appends records to a course folder's results file, as one computer of a
// school does:
//   append_child <course folder> <student> <count> <start msecs since epoch> [<pending file> [<lock wait ms>]]
// Record i of the run carries i as its seconds, so the parent can check order.
// With a pending file, runs that cannot reach the results file wait there as
// at the end of a drill, and the child prints "stored N pending M".
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
    if (argc < 5 || argc > 7) {
        std::fprintf(stderr, "usage: %s folder student count start-msecs [pending-file [lock-wait-ms]]\n", argv[0]);
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
    vc::ResultDestination destination{folder, QStringLiteral("RACE"), student};
    if (argc >= 6)
        destination.pendingFile = QString::fromLocal8Bit(argv[5]);
    if (argc >= 7)
        destination.lockWait = std::chrono::milliseconds(std::atoll(argv[6]));
    int stored = 0, pending = 0;
    try {
        for (int i = 0; i < count; ++i)
            ++(vc::appendResultRecord(destination, 3, i, clock) == vc::StoredIn::ResultsFile ? stored : pending);
        if (!destination.pendingFile.isEmpty())
            std::printf("stored %d pending %d\n", stored, pending);
    } catch (const vc::DataError& e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
