#pragma once
#include "common/school.h"
#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "platform/textfile.h"
#include "records/logs.h"
#include "records/resultsfile.h"
#include "drill/soundcues.h"
#include "startup/appstate.h"
#include "startup/navigator.h"
#include "startup/startup.h"

#include <QFile>
#include <memory>
#include <vector>

namespace vc::test {

// Records which screens a run asked for.
struct RecordingNavigator : Navigator {
    void openNameSelection() override { ++nameSelections; }
    void openLevelScreen() override { ++levelScreens; }
    void openDrill() override { ++drills; }
    void openEndOfDrill() override { ++endScreens; }
    void quitProgram(int status) override { quits.push_back(status); }
    int nameSelections = 0;
    int levelScreens = 0;
    int drills = 0;
    int endScreens = 0;
    std::vector<int> quits;
};

// Levels of the test course (no grouping by three): the unit of each level.
enum TestLevel { kSolo = 1, kPair = 2, kFive = 3, kTwenty = 4, kPractice = 5, kLengths = 6 };

inline QStringList drillCourseRows()
{
    QStringList rows{QStringLiteral("単独,りんご,apple"), QStringLiteral("二問,本,book"), QStringLiteral("二問,ねこ,cat")};
    for (const char* w : {"dog", "bird", "fish", "horse", "mouse"})
        rows << QStringLiteral("五問,%1の意味,%1").arg(QLatin1String(w));
    for (int i = 1; i <= 20; ++i)
        rows << QStringLiteral("二十問,語%1,word%2").arg(i).arg(QChar(u'a' + i - 1));
    rows << QStringLiteral("練習,太陽,sun") << QStringLiteral("練習,月,moon");
    rows << QStringLiteral("長短,上に,on") << QStringLiteral("長短,百科事典,encyclopedia") << QStringLiteral("長短,空,sky");
    return rows;
}

// A school on disk with the drill's test course, an AppState set up as the
// level screen leaves it, and every service as a test double.
struct DrillSchool {
    explicit DrillSchool(const QStringList& rows = drillCourseRows(), int groupByThree = 0)
    {
        school.writeDefaults();
        school.writeFormat(groupByThree);
        school.writeCourse(rows);
        state = std::make_unique<AppState>();
        AppState& s = *state;
        s.services = {.clock = &clock, .random = &random, .messages = &messages, .navigator = &navigator, .sound = &sound, .voices = &voices};
        s.paths.ProgramFolder = school.programFolder;
        s.paths.DataFolder = school.dataFolder;
        s.paths.CourseFolder = school.courseFolder;
        s.paths.SoundFolder = school.soundFolder;
        s.settings.SchoolCode = QStringLiteral("12345");
        s.settings.SchoolName = QStringLiteral("北校");
        loadCourseConfiguration(s);
        startCourse(s);
        navigator.levelScreens = 0;
        for (int level = 1; level <= s.course.LevelCount; ++level) {
            StandardsRow& row = *s.standards.level(level);
            row.targetTime = 30;
            row.minimumTime = 40;
            row.clearPoints = 10;
            row.clearCount = 1;
            row.pointMultiplier = 1;
        }
        s.CurrentStudentNumber = 12;
        s.CurrentStudentName = QStringLiteral(" 山田　花子 ");
        s.LoginTime = 36000 - 25 * 60;  // 25 minutes before the clock's 10:00
        s.course.ChoiceListFlag = 0;      // typed answers unless a test turns the choice step on
        // Distinct files for the two answer cues, so a test can tell them apart.
        writeCp932(school.soundFolder + QStringLiteral("新音ファイル.txt"),
                   {QStringLiteral("正解音2"), QStringLiteral("seikai"), QStringLiteral("*"), QStringLiteral("間違い音2"),
                    QStringLiteral("machigai"), QStringLiteral("*")});
        loadSoundCues(s);
    }

    QString correctCue() const { return school.soundFolder + QStringLiteral("seikai.wav"); }
    QString wrongCue() const { return school.soundFolder + QStringLiteral("machigai.wav"); }

    QStringList answerLog() const
    {
        const QString path = answerLogPath(school.courseFolder, 12);
        return QFile::exists(path) ? readTextLines(path) : QStringList();
    }
    std::vector<ResultRecord> results() const { return ResultsFile(resultsFilePath(school.courseFolder)).readAll(); }

    SchoolFixture school;
    FakeClock clock{QDate(2024, 4, 1), QTime(10, 0, 0)};
    SystemRandom random;
    RecordingMessages messages;
    ScriptedSoundPlayer sound;
    RecordingVoiceFactory voices;
    RecordingNavigator navigator;
    std::unique_ptr<AppState> state;
};

} // namespace vc::test
