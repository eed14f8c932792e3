#pragma once
#include "common/testutil.h"
#include "platform/clock.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"
#include "records/statistics.h"
#include "startup/appstate.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace vc::test {

// An AppState with a course folder of its own, levels and standards set in
// code, students in the roster tables and runs written to the results file,
// on 10 May 2024 with the school year starting in April.
struct ScoredSchool {
    ScoredSchool()
    {
        EXPECT_TRUE(dir.isValid());
        AppState& s = *state;
        s.services.clock = &clock;
        s.paths.ProgramFolder = dir.path() + u'/';
        s.paths.DataFolder = dir.path() + u'/';
        s.paths.CourseFolder = dir.path() + u'/';
        s.paths.SoundFolder = dir.path() + u'/';
        s.settings.SchoolYearStartMonth = 4;
        s.roster.SchoolYear = 2024;
        s.course.SoftwareName = QStringLiteral("中1英単語");
    }

    // Levels named "p1", "p2", … unless given; every level gets the same standards.
    void setLevels(int count, const QStringList& names = {})
    {
        AppState& s = *state;
        s.course.LevelCount = static_cast<qint16>(count);
        s.TargetLevel = count;
        for (int i = 1; i <= count; ++i) {
            s.LevelNames[static_cast<size_t>(i)] = i <= names.size() ? names[i - 1] : QStringLiteral("p%1").arg(i);
            s.TimedLevel[static_cast<size_t>(i)] = 1;
            StandardsRow& row = *s.standards.level(i);
            row.targetTime = 30;
            row.minimumTime = 45;
            row.clearPoints = 20;
            row.clearCount = 2;
            row.pointMultiplier = 1;
            row.banCount = {QStringLiteral("5"), 5};
            row.banPoints = {};
            row.judgePeriod = {QStringLiteral("7"), 7};
            row.banPeriod = {QStringLiteral("1"), 1};
        }
    }
    StandardsRow& standards(int level) { return *state->standards.level(level); }

    // A listed student; the grade follows from the birth year (2017 is 小１, 2011 中１).
    void addStudent(qint16 number, const QString& name, int birthYear)
    {
        Roster& r = state->roster;
        r.StudentNames[static_cast<size_t>(number)] = name;
        r.StudentBirthYears[static_cast<size_t>(number)] = static_cast<qint16>(birthYear);
        r.ListedNumbers[static_cast<size_t>(++r.ListedCount)] = number;
    }
    void logIn(qint16 number, const QString& name)
    {
        state->CurrentStudentNumber = number;
        state->CurrentStudentName = name;
    }

    // `count` runs of the student on the level, `daysAgo` days before today.
    void addRuns(qint16 student, qint16 level, qint32 seconds, int count = 1, int daysAgo = 0)
    {
        ResultRecord r;
        r.runDate = dayNumber(clock.today()) - daysAgo;
        r.runTime = 0.4;
        r.studentNumber = student;
        r.level = level;
        r.seconds = seconds;
        QByteArray bytes;
        for (int k = 0; k < count; ++k)
            bytes += encodeResultRecord(r);
        QFile f(resultsFilePath(state->paths.CourseFolder));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(bytes);
    }
    // The statistics pass over what the file now holds.
    void refresh()
    {
        computeStatistics(state->paths.CourseFolder, state->standards, clock, state->loadedResults, state->statistics);
    }
    const LevelFigures& figures(int level, int student) const { return state->statistics.at(level, student); }

    QTemporaryDir dir;
    FakeClock clock{QDate(2024, 5, 10), QTime(10, 0, 0)};
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
};

} // namespace vc::test
