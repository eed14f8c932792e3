// The computers of the concurrent and crash tests.
//   rewrite_child delete <course folder> <student> <deletions> <stop step> <start msecs since epoch>
// deletes the records of one student, first to last, through the same locked
// rewrite the results screen uses. With a stop step other than 0 the process
// kills itself (SIGKILL, as kill -9 would end it) right after that step of
// its last deletion. Exits 0 when it has deleted <deletions> records or none
// are left.
//   rewrite_child replace <course folder> <student> <count> 0 <start msecs since epoch>
// changes the level of the student's first <count> level-3 records to 4,
// one at a time, through the same locked rewrite.
//   rewrite_child append <course folder> <student> <count> <pause ms> <start msecs since epoch>
// appends <count> runs of level 3 as the drill does, record i carrying i
// seconds, with a pause after each, so that appends keep coming while the
// deleting process works and dies.
#include "platform/clock.h"
#include "platform/errors.h"
#include "records/resultsfile.h"
#include "records/resultsrewrite.h"

#include <QDateTime>
#include <QString>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s delete|replace|append folder student count stop-step|pause-ms start-msecs\n", argv[0]);
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString path = vc::resultsFilePath(folder);
    const auto student = static_cast<qint16>(std::atoi(argv[3]));
    const int deletions = std::atoi(argv[4]);
    const int stop = std::atoi(argv[5]);
    const qint64 wait = std::atoll(argv[6]) - QDateTime::currentMSecsSinceEpoch();
    if (wait > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    try {
        if (mode == QStringLiteral("append")) {
            vc::SystemClock clock;
            for (int i = 0; i < deletions; ++i) {
                vc::appendResultRecord({folder, QStringLiteral("RACE"), student}, 3, i, clock);
                std::this_thread::sleep_for(std::chrono::milliseconds(stop));
            }
            return 0;
        }
        if (mode == QStringLiteral("replace")) {
            for (int done = 0; done < deletions;) {
                vc::ResultsFile file(path);
                const QByteArray bytes = file.readBytes(1, file.recordCount());
                qint64 number = 0;
                for (qsizetype at = 0; at < bytes.size() && number == 0; at += vc::kResultRecordSize) {
                    const vc::ResultRecord r = vc::decodeResultRecord(bytes.constData() + at);
                    if (r.studentNumber == student && r.level == 3)
                        number = at / vc::kResultRecordSize + 1;
                }
                if (number == 0)
                    return 0;
                const QByteArray expected = bytes.mid((number - 1) * vc::kResultRecordSize, vc::kResultRecordSize);
                vc::ResultRecord changed = vc::decodeResultRecord(expected.constData());
                changed.level = 4;
                if (vc::replaceResultRecord(path, number, expected, vc::encodeResultRecord(changed)) == vc::RewriteOutcome::Done)
                    ++done;
            }
            return 0;
        }
        for (int done = 0; done < deletions;) {
            vc::ResultsFile file(path);
            const QByteArray bytes = file.readBytes(1, file.recordCount());
            qint64 number = 0;
            for (qsizetype at = 0; at < bytes.size(); at += vc::kResultRecordSize)
                if (vc::decodeResultRecord(bytes.constData() + at).studentNumber == student) {
                    number = at / vc::kResultRecordSize + 1;
                    break;
                }
            if (number == 0)
                return 0;
            vc::RewriteOptions options;
            if (stop != 0 && done == deletions - 1)
                options.afterStep = [stop](vc::RewriteStep s) {
                    if (static_cast<int>(s) == stop)
                        ::kill(::getpid(), SIGKILL);
                };
            const QByteArray expected = bytes.mid((number - 1) * vc::kResultRecordSize, vc::kResultRecordSize);
            if (vc::deleteResultRecord(path, number, expected, options) == vc::RewriteOutcome::Done)
                ++done;
        }
    } catch (const vc::DataError& e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
