#pragma once
#include <QtGlobal>
#include <chrono>
#include <sys/types.h>

namespace vc {

// How long a read refused over another program's lock is tried again before
// the refusal is reported. Writers of this program never lock the data, but
// a file server that enforces locks (every SMB server) refuses reads of a
// range that some other program, or an older version of ours, has locked.
inline constexpr std::chrono::milliseconds kRefusedReadPatience{2000};

using PreadFunction = ssize_t (*)(int fd, void* buffer, size_t count, off_t offset);

// Reads up to `count` bytes at `offset` into `buffer`, continuing after
// short reads until the file ends. A read refused over a lock (EACCES,
// EAGAIN) is tried again every few milliseconds for up to `patience`.
// Returns the bytes read, or -1 with errno set when the read failed. `pread`
// null: the system's (or the one a test put in its place).
qint64 readShared(int fd, char* buffer, qint64 count, qint64 offset,
                  std::chrono::milliseconds patience = kRefusedReadPatience, PreadFunction pread = nullptr);

// Tests put a failing read in place of the system's for every shared read
// of the process; null restores the system's.
void setSharedPreadForTests(PreadFunction pread);

// True for the errors a file server gives for a range another handle locked.
bool isLockRefusal(int error);

} // namespace vc
