// The real program on a laid-out demo school, as a school would install it.
#include "common/testutil.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString layoutDemo(const QTemporaryDir& dir)
{
    QProcess p;
    p.start(QStringLiteral("bash"), {QStringLiteral(VC_SOURCE_DIR "/scripts/layout-demo"), QStringLiteral(VC_BINARY_DIR), dir.path()});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return dir.path() + QStringLiteral("/単語/vocarimo");
}

} // namespace

TEST(Program, StartsOnTheDemoSchoolAndKeepsRunning)
{
    QTemporaryDir dir;
    const QString program = layoutDemo(dir);
    ASSERT_TRUE(QFile::exists(program));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program, {});
    ASSERT_TRUE(p.waitForStarted(10000));
    // It reads the installation and waits on the name-selection screen.
    EXPECT_FALSE(p.waitForFinished(3000)) << p.readAllStandardError().toStdString();
    EXPECT_EQ(p.state(), QProcess::Running);
    p.kill();
    p.waitForFinished(5000);
    // Start-up writes nothing into the installation.
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/data/単語/成績累積データ.dat")));
}
