#include "platform/process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vc;

TEST(InstanceGuard, SecondGuardOnTheSameProgramSeesTheFirst)
{
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("vocarimo"));
    LockFileInstanceGuard first(exe);
    EXPECT_FALSE(first.anotherInstanceRunning());
    EXPECT_FALSE(first.anotherInstanceRunning()); // asking again does not refuse oneself
    {
        // QLockFile also refuses a second lock inside one process, which stands in for a second process here.
        LockFileInstanceGuard second(exe);
        EXPECT_TRUE(second.anotherInstanceRunning());
        LockFileInstanceGuard otherProgram(dir.filePath(QStringLiteral("other")));
        EXPECT_FALSE(otherProgram.anotherInstanceRunning());
    }
}
