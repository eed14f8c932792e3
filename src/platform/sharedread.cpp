#include "sharedread.h"

#include <cerrno>
#include <thread>
#include <unistd.h>

namespace vc {
namespace {

PreadFunction testPread = nullptr;

} // namespace

void setSharedPreadForTests(PreadFunction pread)
{
    testPread = pread;
}

bool isLockRefusal(int error)
{
    return error == EACCES || error == EAGAIN;
}

qint64 readShared(int fd, char* buffer, qint64 count, qint64 offset, std::chrono::milliseconds patience,
                  PreadFunction pread)
{
    if (!pread)
        pread = testPread ? testPread : ::pread;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    qint64 done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, buffer + done, static_cast<size_t>(count - done), static_cast<off_t>(offset + done));
        if (got > 0) {
            done += got;
            continue;
        }
        if (got == 0)
            break;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (!isLockRefusal(error) || std::chrono::steady_clock::now() >= deadline) {
            errno = error;
            return -1;
        }
        // A writer of another program holds the range: writes take
        // milliseconds, so look again soon.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done;
}

} // namespace vc
