#pragma once
// A school for the run-list and report benchmarks: 99 levels, `students`
// listed students and a 20000-record results file whose last 1000 runs are
// today's and the others spread over the last 60 days.
#include "platform/clock.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"
#include "records/statistics.h"
#include "startup/appstate.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <random>

namespace vc::bench {

constexpr int kLevels = 99;
constexpr int kRecords = 20000;

struct BenchSchool {
    explicit BenchSchool(int students)
    {
        AppState& s = *state;
        s.services.clock = &clock;
        s.paths.CourseFolder = dir.path() + u'/';
        s.paths.DataFolder = dir.path() + u'/';
        s.settings.SchoolYearStartMonth = 4;
        s.course.SoftwareName = QStringLiteral("中学英単語");
        s.course.LevelCount = kLevels;
        s.TargetLevel = kLevels;
        for (int i = 1; i <= kLevels; ++i) {
            s.LevelNames[static_cast<size_t>(i)] = QStringLiteral("pUnit%1").arg(i);
            StandardsRow& row = *s.standards.level(i);
            row.targetTime = 40;
            row.minimumTime = 60;
            row.clearPoints = 30;
            row.clearCount = 3;
            row.pointMultiplier = 1;
            row.banCount = {QStringLiteral("5"), 5};
            row.judgePeriod = {QStringLiteral("7"), 7};
            row.banPeriod = {QStringLiteral("1"), 1};
        }
        Roster& r = s.roster;
        r.SchoolYear = 2024;
        for (int k = 1; k <= students; ++k) {
            r.StudentNames[static_cast<size_t>(k)] = QStringLiteral("生徒%1").arg(k);
            r.StudentBirthYears[static_cast<size_t>(k)] = static_cast<qint16>(2009 + k % 9);
            r.ListedNumbers[static_cast<size_t>(k)] = static_cast<qint16>(k);
        }
        r.ListedCount = students;
        s.CurrentStudentNumber = 1;
        s.CurrentStudentName = QStringLiteral("生徒1");

        std::mt19937 engine(12345);
        const double today = dayNumber(clock.today());
        QByteArray bytes;
        bytes.reserve(kRecords * kResultRecordSize);
        for (int k = 0; k < kRecords; ++k) {
            ResultRecord rec;
            rec.runDate = k >= kRecords - 1000 ? today : today - static_cast<double>(engine() % 60);
            rec.runTime = 0.5;
            // One run in fifty is the logged-in student's, so the personal list and the report have runs to show.
            rec.studentNumber = k % 50 == 0 ? 1 : static_cast<qint16>(1 + engine() % static_cast<unsigned>(students));
            rec.level = static_cast<qint16>(k % 50 == 0 ? 1 + k / 50 % 3 : 1 + engine() % kLevels);
            rec.seconds = engine() % 100 == 0 ? 99999 : static_cast<qint32>(10 + engine() % 200);
            bytes += encodeResultRecord(rec);
        }
        QFile f(resultsFilePath(s.paths.CourseFolder));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        computeStatistics(s.paths.CourseFolder, s.standards, clock, s.loadedResults, s.statistics);
    }

    QTemporaryDir dir;
    FakeClock clock{QDate(2024, 5, 10), QTime(10, 0, 0)};
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
};

} // namespace vc::bench
