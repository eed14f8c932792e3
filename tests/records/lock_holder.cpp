// Holds the whole-file lock of a file for a while, as another computer
// storing a run (or one that hangs) does: lock_holder <path> <milliseconds>
// Prints "locked" once it holds the lock.
#include "platform/errors.h"
#include "platform/lockedfile.h"

#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s path milliseconds\n", argv[0]);
        return 2;
    }
    try {
        vc::LockedFile file(QString::fromLocal8Bit(argv[1]));
        std::printf("locked\n");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoll(argv[2])));
    } catch (const vc::DataError& e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
