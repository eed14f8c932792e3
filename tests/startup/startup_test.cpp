#include "common/school.h"
#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "records/resultsfile.h"
#include "startup/navigator.h"
#include "startup/startup.h"

#include <gtest/gtest.h>
#include <memory>

using namespace vc;

namespace {

struct RecordingNavigator : Navigator {
    void openNameSelection() override { opened.push_back("namesel"); }
    void openLevelScreen() override { opened.push_back("seisekitime1"); }
    void quitProgram(int status) override { quitStatus = status; }
    std::vector<std::string> opened;
    int quitStatus = -1;
};

struct Startup : ::testing::Test {
    test::SchoolFixture school;
    FakeClock clock;
    ScriptedRandom random;
    RecordingMessages messages;
    RecordingLauncher launcher;
    FakeInstanceGuard instance;
    RecordingNavigator navigator;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();

    void SetUp() override
    {
        school.writeDefaults();
        state->services = {&clock, &random, &messages, &launcher, &instance, &navigator};
    }
    void resolve()
    {
        try {
            resolveDataAndSettings(*state, school.programFolder.chopped(1));
        } catch (const DataError& e) {
            FAIL() << e.message().toStdString();
        }
    }
    QString errorOfResolve()
    {
        try {
            resolve();
        } catch (const DataError& e) {
            return e.message();
        }
        return {};
    }
};

} // namespace

TEST_F(Startup, ResolvesFoldersSettingsAndCourse)
{
    resolve();
    const DataPaths& p = state->paths;
    EXPECT_EQ(p.ProgramFolder, school.programFolder);
    EXPECT_EQ(p.DataFolder, school.dataFolder);
    EXPECT_EQ(p.ProgramFolderName, QStringLiteral("単語"));
    EXPECT_EQ(p.CourseFolder, school.dataFolder + QStringLiteral("単語/"));
    EXPECT_EQ(p.SoundFolder, school.dataFolder + QStringLiteral("音フォルダ/"));
    EXPECT_EQ(state->settings.SchoolYearStartMonth, 4);
    EXPECT_EQ(state->settings.SchoolCode, QStringLiteral("12345"));
    EXPECT_EQ(state->settings.SchoolName, QStringLiteral("北校"));
    const CourseConfig& c = state->course;
    EXPECT_EQ(c.SoftwareName, QStringLiteral("中学英単語"));
    EXPECT_EQ(c.GroupByThree, 1);
    EXPECT_EQ(c.UnitCount, 2);
    EXPECT_EQ(c.LevelCount, 6);
    EXPECT_EQ(state->courseTable.cell(3, 3), QStringLiteral("cat"));
    // The course's default times replace the file's two time columns: 5 s an item.
    EXPECT_EQ(state->standards.level(1)->targetTime, 10);
    EXPECT_EQ(state->standards.level(1)->minimumTime, 15);
    EXPECT_EQ(state->standards.level(4)->targetTime, 15);
    EXPECT_EQ(state->standards.level(4)->minimumTime, 22); // 22.5 rounds to even
    EXPECT_EQ(state->standards.level(4)->clearPoints, 30);
}

TEST_F(Startup, ShareIsCheckedOnceOnTheCourseFolderAndItsResultsFile)
{
    // On this computer's own disk: the real check finds the mount and no fault.
    resolve();
    EXPECT_TRUE(state->shareSafety.safe) << state->shareSafety.reason.toStdString();
    EXPECT_FALSE(state->shareSafety.mountPoint.isEmpty());

    std::vector<std::pair<QString, QString>> calls;
    state->services.checkShare = [&](const QString& folder, const QString& probeFile) {
        calls.emplace_back(folder, probeFile);
        ShareSafety unsafe;
        unsafe.safe = false;
        unsafe.reason = QStringLiteral("ロックが働いていません");
        return unsafe;
    };
    resolve();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, school.dataFolder + QStringLiteral("単語/"));
    EXPECT_EQ(calls[0].second, resultsFilePath(school.dataFolder + QStringLiteral("単語/")));
    EXPECT_FALSE(state->shareSafety.safe);
    EXPECT_EQ(state->shareSafety.reason, QStringLiteral("ロックが働いていません"));
}

TEST_F(Startup, QuotedDataFolderWithCommaAndMissingSeparator)
{
    const QString odd = school.parent + QStringLiteral("data, 2024");
    ASSERT_TRUE(QDir().rename(school.dataFolder, odd));
    school.writePathFile({u'"' + odd + u'"', "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    resolve();
    EXPECT_EQ(state->paths.DataFolder, odd + u'/');
    EXPECT_EQ(state->course.UnitCount, 2);
}

TEST(SchoolText, SplitsAFiveCharacterCode)
{
    const struct { const char16_t* text; const char16_t* code; const char16_t* name; } cases[] = {
        {u"12345北校", u"12345", u"北校"},
        {u"北校", u"", u"北校"},
        {u"00000北校", u"", u"00000北校"},
        {u"12", u"12", u""},
        {u"  7 a本校", u"  7 a", u"本校"},
    };
    for (const auto& c : cases) {
        QString code, name;
        splitSchoolText(QString::fromUtf16(c.text), &code, &name);
        EXPECT_EQ(code, QString::fromUtf16(c.code));
        EXPECT_EQ(name, QString::fromUtf16(c.name));
    }
}

TEST(SeasonColour, ByMonth)
{
    const unsigned expected[13] = {0, 0x0080FF, 0x0080FF, 0xC0FFC0, 0xC0FFC0, 0xC0FFC0, 0xC0C000,
                                   0xC0C000, 0xC0C000, 0x0040C0, 0x0040C0, 0x0040C0, 0xC0FFC0};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(seasonBackColor(m), expected[m]) << m;
}

TEST_F(Startup, UnitsLevelsAndDefaultTimes)
{
    const struct { QStringList rows; int group; int units; std::vector<int> times; std::vector<const char16_t*> names; } cases[] = {
        {{"A,1,a", "A,2,b", "B,3,c", "B,4,d", "B,5,e"}, 1, 2, {10, 10, 10, 15, 15, 15},
         {u"pA_1", u"pA_2", u"pA_3", u"pB_1", u"pB_2", u"pB_3", u"p_1"}},
        {{"A,1,a", "A,2,b", "B,3,c", "B,4,d", "B,5,e"}, 0, 2, {10, 15}, {u"pA", u"pB", u"p"}},
        {{"A,1,a", "B,2,b", "A,3,c"}, 0, 3, {5, 5, 5}, {u"pA", u"pB", u"pA", u"p"}},
        {{",1,a", ",2,b", "A,3,c"}, 0, 1, {5}, {u"pA", u"p"}},
    };
    for (const auto& c : cases) {
        state = std::make_unique<AppState>();
        state->services = {&clock, &random, &messages, &launcher, &instance, &navigator};
        school.writeFormat(c.group);
        school.writeCourse(c.rows);
        resolve();
        EXPECT_EQ(state->course.UnitCount, c.units);
        ASSERT_EQ(state->course.LevelCount, static_cast<int>(c.times.size()));
        for (size_t i = 0; i < c.times.size(); ++i)
            EXPECT_EQ(state->course.DefaultTargetTime[i + 1], c.times[i]) << "level " << i + 1;
        startCourse(*state);
        for (size_t i = 0; i < c.names.size(); ++i)
            EXPECT_EQ(state->LevelNames[i + 1], QString::fromUtf16(c.names[i])) << "level " << i + 1;
        EXPECT_EQ(state->TargetLevel, state->course.LevelCount);
    }
}

TEST_F(Startup, StartCourseNamesLevelsAndOpensTheLevelScreen)
{
    school.writeFormat(1, {"1", "2", "3"});
    school.writeCourse({"Lesson1,a,b"});
    resolve();
    startCourse(*state);
    EXPECT_EQ(state->LevelNames[1], QStringLiteral("pLesson1_1"));
    EXPECT_EQ(state->LevelNames[3], QStringLiteral("pLesson1_3"));
    EXPECT_EQ(state->LevelNames[4], QStringLiteral("p_1"));
    // Default names survive above LevelCount + 1.
    EXPECT_EQ(state->LevelNames[5], QStringLiteral("範囲4-5"));
    EXPECT_EQ(state->LevelNames[9], QStringLiteral("十問テスト"));
    EXPECT_EQ(state->LevelNames[10], QString());
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(state->TimedLevel[static_cast<size_t>(i)], 1);
    EXPECT_EQ(state->PracticePanelFlag, 1);
    EXPECT_EQ(navigator.opened, std::vector<std::string>{"seisekitime1"});
}

TEST(StartupErrors, BadFilesStopWithAMessageNamingTheFile)
{
    struct Case { const char* what; std::function<void(test::SchoolFixture&)> spoil; const char16_t* file; const char16_t* problem; };
    const std::vector<Case> cases = {
        {"no path file", [](test::SchoolFixture& school) { QFile::remove(school.parent + QStringLiteral("パスデータ.txt")); }, u"パスデータ.txt", u"見つかりません"},
        {"short path file", [](test::SchoolFixture& school) { school.writePathFile({u'"' + school.dataFolder + u'"', "1", "2"}); }, u"パスデータ.txt", u"値が足りません"},
        {"common file short", [](test::SchoolFixture& school) { school.writeCommon({"4", "北校", "0"}); }, u"共通データ.txt", u"値が足りません"},
        {"bad month", [](test::SchoolFixture& school) { school.writeCommon({"13", "北校", "0", "0", "0", "0", "0", "0", "0", "0"}); }, u"共通データ.txt", u"1～12"},
        {"month not a number", [](test::SchoolFixture& school) { school.writeCommon({"四月", "北校", "0", "0", "0", "0", "0", "0", "0", "0"}); }, u"共通データ.txt", u"数値ではありません"},
        {"bad encoding", [](test::SchoolFixture& school) { test::writeBytes(school.dataFolder + QStringLiteral("共通データ.txt"), "4,\x81\r\n"); }, u"共通データ.txt", u"Shift-JIS"},
        {"no softname", [](test::SchoolFixture& school) { QFile::remove(school.programFolder + QStringLiteral("softname.txt")); }, u"softname.txt", u"見つかりません"},
        {"format short", [](test::SchoolFixture& school) { test::writeCp932(school.courseFolder + QStringLiteral("出題形式.csv"), {"a,1,b", "c,1,d"}); }, u"出題形式.csv", u"値が足りません"},
        {"format two values a line", [](test::SchoolFixture& school) { test::writeCp932(school.courseFolder + QStringLiteral("出題形式.csv"),
             {"a,1", "b,1", "c,1", "d,1", "e,1", "f,1", "g,1", "h,1", "i,1", "j,1", "k,1"}); }, u"出題形式.csv", u"3 つの値"},
        {"format flag not a number", [](test::SchoolFixture& school) { school.writeFormat(1); test::writeCp932(school.courseFolder + QStringLiteral("出題形式.csv"),
             {"a,x,b", "a,1,b", "a,1,b", "a,1,b", "a,1,b", "a,1,b", "a,1,b"}); }, u"出題形式.csv", u"数値ではありません"},
        {"no sound set-up", [](test::SchoolFixture& school) { QFile::remove(school.soundFolder + QStringLiteral("新音ファイル.txt")); }, u"新音ファイル.txt", u"ありません"},
        {"no standards", [](test::SchoolFixture& school) { QFile::remove(school.courseFolder + QStringLiteral("タイム回数データ.txt")); }, u"タイム回数データ.txt", u"見つかりません"},
        {"no table", [](test::SchoolFixture& school) { QFile::remove(school.programFolder + QStringLiteral("E0002vv.ccc")); }, u"E0002vv.ccc", u"見つかりません"},
        {"too many levels", [](test::SchoolFixture& school) {
             QStringList rows;
             for (int u = 0; u < 34; ++u) rows << QStringLiteral("U%1,p,w").arg(u);
             school.writeCourse(rows); }, u"E0002vv.ccc", u"上限の 99"},
    };
    for (const auto& c : cases) {
        test::SchoolFixture school;
        school.writeDefaults();
        c.spoil(school);
        auto state = std::make_unique<AppState>();
        QString message;
        try {
            resolveDataAndSettings(*state, school.programFolder);
        } catch (const DataError& e) {
            message = e.message();
        }
        EXPECT_TRUE(message.contains(QString::fromUtf16(c.file))) << c.what << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf16(c.problem))) << c.what << ": " << message.toStdString();
    }
}

TEST_F(Startup, SecondInstanceIsRefusedWithTheNotice)
{
    EXPECT_FALSE(refuseSecondInstance(*state));
    EXPECT_TRUE(messages.shown.empty());
    instance.another = true;
    EXPECT_TRUE(refuseSecondInstance(*state));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("注意"));
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていません。同じプログラムを完全に終了させてから実行してください。"));
    EXPECT_EQ(messages.shown[0].icon, MessageService::Icon::Critical);
    EXPECT_NE(navigator.quitStatus, -1);
}

TEST_F(Startup, ReturnToLauncherStartsTheMenuProgramOrSaysWhy)
{
    resolve();
    returnToLauncher(*state);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, school.root.path() + QStringLiteral("/起動/プログラムメニューc.exe"));
    EXPECT_EQ(launcher.started[0].arguments, QStringList{"001"});
    EXPECT_EQ(navigator.quitStatus, 0);

    navigator.quitStatus = -1;
    launcher.succeed = false;
    returnToLauncher(*state);
    EXPECT_EQ(navigator.quitStatus, -1); // the program goes on
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("プログラムメニューc.exe")));
}

TEST(Version, LineHasNoSpaceAndNoLeadingZeros)
{
    EXPECT_EQ(versionLine(1, 1, 8), QStringLiteral("Version1.1.8"));
    EXPECT_EQ(versionLine(2, 0, 10), QStringLiteral("Version2.0.10"));
}
