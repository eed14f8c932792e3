#pragma once
#include "coursetable/coursetable.h"
#include "drill/runstate.h"
#include "drill/soundcues.h"
#include "platform/sharecheck.h"
#include "records/statistics.h"

#include <QString>
#include <array>
#include <chrono>
#include <vector>

namespace vc {

class Clock;
class Random;
class MessageService;
class Launcher;
class InstanceGuard;
class Navigator;
class SoundPlayer;
class VoiceFactory;
class PrintService;

constexpr int kMaxLevel = 100;
constexpr int kMaxStudent = 5000;
constexpr int kMaxUnits = 100;
constexpr int kMaxLevelCount = 99;

// Where the program's files are; every folder ends with "/".
struct DataPaths {
    QString ProgramFolder;
    QString DataFolder;
    QString ProgramFolderName;
    QString CourseFolder;
    QString SoundFolder;
};

struct CommonSettings {
    int SchoolYearStartMonth = 0;
    QString SchoolName;
    QString SchoolCode;  // five characters or empty
    int ShowStatus2Students = 0;
};

struct CourseConfig {
    QString SoftwareName;
    int GroupByThree = 0;
    int ChoiceListFlag = 0;
    int ChoiceLabelFlag = 0;
    int LetterTilesFlag = 0;
    std::array<QString, 3> LevelSuffix;
    std::array<QString, kMaxUnits + 2> UnitNames{};      // 1..UnitCount
    std::array<int, kMaxUnits + 2> UnitRowCounts{};      // 0 counts rows before the first unit
    int UnitCount = 0;
    qint16 LevelCount = 0;
    std::array<int, kMaxLevel + 1> DefaultTargetTime{};  // per level
};

static_assert(kLevelRows == kMaxLevel + 1 && kStudentRows == kMaxStudent + 1);

// The outside world as the program reaches it; every pointer is set by main
// (or by a test) before start-up runs.
struct Services {
    Clock* clock = nullptr;
    Random* random = nullptr;
    MessageService* messages = nullptr;
    Launcher* launcher = nullptr;
    InstanceGuard* instance = nullptr;
    Navigator* navigator = nullptr;
    SoundPlayer* sound = nullptr;
    VoiceFactory* voices = nullptr;
    PrintService* printing = nullptr;
    // Whether the course folder can be shared (folder, results file); none:
    // checkShareSafety on this computer's own mounts.
    std::function<ShareSafety(const QString& folder, const QString& probeFile)> checkShare{};
};

// The roster values, refilled by each roster pass. Per-student tables are
// indexed by StudentNumber 0..5000 and are not cleared before a refill.
struct Roster {
    std::vector<QString> StudentNames = std::vector<QString>(kMaxStudent + 1);
    std::vector<qint16> StudentBirthYears = std::vector<qint16>(kMaxStudent + 1);
    std::vector<QString> StudentClasses = std::vector<QString>(kMaxStudent + 1);  // stored form, "小１"
    std::vector<qint16> ListedNumbers = std::vector<qint16>(kMaxStudent + 1);     // 1..ListedCount
    int ListedCount = 0;
    int SchoolYear = 0;
};

// The program-wide state: one object, created in main and handed to every
// screen and service by reference.
struct AppState {
    Services services;

    DataPaths paths;
    CommonSettings settings;
    unsigned SeasonBackColor = 0;  // 0xBBGGRR

    CourseConfig course;
    CourseTable courseTable;

    Roster roster;

    SoundCues soundCues;
    int SoundFailureCount = 0;  // consecutive failed correct/wrong-answer cues

    // This computer's own folder outside the shared data folder (set by main;
    // empty in tests that need none), and in it the pending file of runs that
    // could not reach the results file yet (set at start-up).
    QString LocalDataFolder;
    QString PendingResultsFile;
    // How long the end of a run waits for another computer's lock.
    std::chrono::milliseconds ResultLockLimit = kResultLockLimit;
    // Whether other computers can safely share the course folder, checked
    // once at start-up; the name-selection screen warns the teacher when not.
    ShareSafety shareSafety;
    // Scratch copies of the results file set aside (never applied, never
    // deleted by the program), found at start-up; the name-selection screen
    // tells the teacher.
    QStringList setAsideResultsCopies;

    // Scoring tables.
    StandardsTable standards;
    LoadedResults loadedResults;
    Statistics statistics;
    RunOutcomeFlags runFlags;

    // Set by startCourse.
    std::array<QString, kMaxLevel + 1> LevelNames{};
    std::array<qint16, kMaxLevel + 1> TimedLevel{};
    int TargetLevel = 0;
    int PracticePanelFlag = 0;

    // Current login.
    qint16 CurrentStudentNumber = 0;
    QString CurrentStudentName;
    QString CurrentStudentClass;
    qint32 LoginTime = 0;
    int FirstVisitFlag = 0;
    QString SelectedGradeFilter;

    // Current level.
    qint16 CurrentLevel = 0;
    // The final level counts as cleared for the current student; set by every
    // ban evaluation of the level screen, read by the end-of-drill screen.
    bool targetLevelCleared = false;
    // The drill run in progress (reset by startDrill) and its result.
    RunState run;
};

} // namespace vc
