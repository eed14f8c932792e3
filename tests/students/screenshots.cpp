// Shows the name-selection screen on a small made-up school and saves a
// picture of it, to look at the layout (not a test).
// Usage: namesel-screenshots <folder>
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sharecheck.h"
#include "platform/sound.h"
#include "platform/textcodec.h"
#include "platform/textfile.h"
#include "records/resultsfile.h"
#include "startup/appstate.h"
#include "students/namesel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace vc;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::printf("usage: namesel-screenshots <folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    FakeClock clock(QDate(2024, 6, 12), QTime(16, 30, 0));
    ScriptedRandom random;
    RecordingMessages messages;
    RecordingLauncher launcher;
    FakeInstanceGuard instance;
    ScriptedSoundPlayer sound;
    auto state = std::make_unique<AppState>();
    state->services = {.clock = &clock, .random = &random, .messages = &messages, .launcher = &launcher, .instance = &instance, .sound = &sound};
    state->paths.DataFolder = dir.path() + u'/';
    state->paths.CourseFolder = state->paths.DataFolder + QStringLiteral("中1英単語/");
    QDir().mkpath(state->paths.CourseFolder);
    state->settings.SchoolYearStartMonth = 4;
    state->SeasonBackColor = 0xC0C000;
    state->course.SoftwareName = QStringLiteral("中1英単語");

    const QStringList roster = {
        QStringLiteral("1,2011,0,0,\"佐藤 花子\",0,\"\",\"\""),    QStringLiteral("2,2011,0,0,\"鈴木 一郎\",0,\"\",\"\""),
        QStringLiteral("3,2012,0,0,\"高橋 美咲\",0,\"\",\"\""),    QStringLiteral("4,2012,0,0,\"田中 翔太\",0,\"\",\"\""),
        QStringLiteral("5,2013,0,0,\"伊藤 さくら\",0,\"\",\"\""),  QStringLiteral("6,2014,0,0,\"渡辺 健\",0,\"\",\"\""),
        QStringLiteral("7,2015,0,0,\"山本 あおい\",0,\"\",\"\""),  QStringLiteral("8,2016,0,0,\"中村 陸\",0,\"\",\"\""),
        QStringLiteral("9,2017,0,0,\"小林 ひなた\",0,\"\",\"\""),  QStringLiteral("10,2018,0,0,\"加藤 ゆい\",0,\"\",\"\""),
        QStringLiteral("11,2010,0,0,\"吉田 大翔\",0,\"\",\"\""),   QStringLiteral("12,2009,0,0,\"山田 結衣\",0,\"\",\"\""),
        QStringLiteral("13,2011,0,0,\"松本 蓮\",1,\"\",\"\""),
    };
    writeTextLines(state->paths.DataFolder + QStringLiteral("新名簿.txt"), roster);
    writeTextLines(state->paths.CourseFolder + QStringLiteral("PageName.htm"),
                   {QStringLiteral("<html><head><meta charset=\"Shift_JIS\"></head><body>"),
                    QStringLiteral("<h3>お知らせ</h3><p>6月の単語テストは 20 日（木）です。</p>"),
                    QStringLiteral("<p>「練習」から始めて、毎日少しずつ進めましょう。</p></body></html>")});
    for (int level : {1, 2, 3}) {
        state->standards.level(level)->targetTime = 60;
        state->standards.level(level)->pointMultiplier = 1;
    }
    auto run = [&](int student, int level, int seconds, int daysAgo) {
        FakeClock at(clock.today().addDays(-daysAgo), QTime(15, 0, 0));
        ResultDestination d;
        d.courseFolder = state->paths.CourseFolder;
        d.studentNumber = static_cast<qint16>(student);
        appendResultRecord(d, static_cast<qint16>(level), seconds, at);
    };
    run(1, 1, 25, 0);
    run(1, 2, 50, 0);
    run(1, 1, 40, 2);
    run(4, 1, 70, 0);
    run(12, 3, 28, 5);
    run(8, 1, 33, 1);

    namesel screen(*state);
    if (!screen.Form_Load()) {
        std::printf("the screen did not load\n");
        return 1;
    }
    if (!QTest::qWaitForWindowExposed(&screen))
        std::printf("window not exposed\n");
    screen.List1->setCurrentRow(3);
    screen.List1_Click();
    QCoreApplication::processEvents();
    const QString path = QDir(out).filePath(QStringLiteral("namesel.png"));
    bool ok = screen.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    screen.hide();

    // The teacher's warning when the data folder sits on a cifs mount with nobrl.
    state->shareSafety = judgeMount(parseMountInfo("45 28 0:50 / /mnt/juku rw,relatime - cifs //server/juku rw,vers=3.1.1,nobrl\n").at(0));
    namesel warned(*state);
    if (!warned.Form_Load()) {
        std::printf("the screen did not load\n");
        return 1;
    }
    if (!QTest::qWaitForWindowExposed(&warned))
        std::printf("window not exposed\n");
    QCoreApplication::processEvents();
    const QString warnedPath = QDir(out).filePath(QStringLiteral("namesel-share-warning.png"));
    const bool warnedOk = warned.grab().save(warnedPath);
    std::printf("%s %s\n", warnedOk ? "saved" : "FAILED", qPrintable(warnedPath));
    ok = ok && warnedOk;
    return ok ? 0 : 1;
}
