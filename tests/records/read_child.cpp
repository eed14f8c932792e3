// Reads a course folder's results file over and over while other computers
// write it, as the level screen and the teacher's screens do:
//   read_child <course folder> <duration ms> <interval ms>
// Each round reads the whole file once through a plain descriptor with no
// retry (a refusal counts as "refused") and once through the program's own
// reader, whose failures count as "failed"; every complete record must
// decode to a run of a sane date, level and student ("bad" otherwise).
// Prints "reads N refused R failed F bad B" and exits 0 only when R, F and B
// are all 0.
#include "platform/errors.h"
#include "records/resultsfile.h"

#include <QFile>
#include <QString>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

bool sane(const vc::ResultRecord& r)
{
    return r.runDate > 40000 && r.runDate < 80000 && r.runTime >= 0 && r.runTime < 1 && r.level >= 0
           && r.level <= 100 && r.studentNumber >= 0 && r.studentNumber <= 5000;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s folder duration-ms interval-ms\n", argv[0]);
        return 2;
    }
    const QString path = vc::resultsFilePath(QString::fromLocal8Bit(argv[1]));
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoll(argv[2]));
    const auto interval = std::chrono::milliseconds(std::atoll(argv[3]));
    long reads = 0, refused = 0, failed = 0, bad = 0;
    while (std::chrono::steady_clock::now() < end) {
        ++reads;
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            char buffer[65536];
            off_t at = 0;
            for (;;) {
                const ssize_t got = ::pread(fd, buffer, sizeof buffer, at);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0) {
                    ++refused;
                    std::fprintf(stderr, "plain read refused at %lld: %s\n", static_cast<long long>(at), std::strerror(errno));
                    break;
                }
                if (got == 0)
                    break;
                at += got;
            }
            ::close(fd);
        }
        try {
            vc::ResultsFile file(path);
            for (const vc::ResultRecord& r : file.readAll())
                bad += !sane(r);
        } catch (const vc::DataError& e) {
            ++failed;
            std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        }
        std::this_thread::sleep_for(interval);
    }
    std::printf("reads %ld refused %ld failed %ld bad %ld\n", reads, refused, failed, bad);
    return refused == 0 && failed == 0 && bad == 0 ? 0 : 1;
}
