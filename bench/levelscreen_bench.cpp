// The level screen becoming active offscreen: the statistics pass over a
// 20000-record results file, the points ranking of 99 levels for every listed
// student, and the ban evaluation, from Form_Activate to the busy flag being
// set again.
#include "levelscreen/seisekitime1.h"
#include "platform/clock.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"
#include "startup/appstate.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace {

constexpr int kLevels = 99;
constexpr int kRecords = 20000;

struct BenchSchool {
    explicit BenchSchool(int students)
    {
        vc::AppState& s = *state;
        s.services.clock = &clock;
        s.paths.CourseFolder = dir.path() + u'/';
        s.paths.DataFolder = dir.path() + u'/';
        s.settings.SchoolYearStartMonth = 4;
        s.course.SoftwareName = QStringLiteral("中学英単語");
        s.course.LevelCount = kLevels;
        s.TargetLevel = kLevels;
        s.PracticePanelFlag = 1;
        for (int i = 1; i <= kLevels; ++i) {
            s.LevelNames[static_cast<size_t>(i)] = i == 1 ? QStringLiteral("p練習") : QStringLiteral("pUnit%1").arg(i);
            vc::StandardsRow& row = *s.standards.level(i);
            row.targetTime = 40;
            row.minimumTime = 60;
            row.clearPoints = 30;
            row.clearCount = 3;
            row.pointMultiplier = 1;
            row.banCount = {QStringLiteral("5"), 5};
            row.judgePeriod = {QStringLiteral("7"), 7};
            row.banPeriod = {QStringLiteral("1"), 1};
        }
        vc::Roster& r = s.roster;
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
        const double today = vc::dayNumber(clock.today());
        QByteArray bytes;
        bytes.reserve(kRecords * vc::kResultRecordSize);
        for (int k = 0; k < kRecords; ++k) {
            vc::ResultRecord rec;
            rec.runDate = today - static_cast<double>(engine() % 60);
            rec.runTime = 0.5;
            rec.studentNumber = static_cast<qint16>(1 + engine() % static_cast<unsigned>(students));
            rec.level = static_cast<qint16>(1 + engine() % kLevels);
            rec.seconds = static_cast<qint32>(10 + engine() % 200);
            bytes += vc::encodeResultRecord(rec);
        }
        QFile f(vc::resultsFilePath(s.paths.CourseFolder));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

    QTemporaryDir dir;
    vc::FakeClock clock{QDate(2024, 5, 10), QTime(10, 0, 0)};
    std::unique_ptr<vc::AppState> state = std::make_unique<vc::AppState>();
};

void BM_LevelScreenActivate(benchmark::State& bench)
{
    BenchSchool school(static_cast<int>(bench.range(0)));
    vc::seisekitime1 screen(*school.state);
    screen.Form_Load();
    for (auto _ : bench) {
        screen.Form_Activate();
        if (screen.busyFlag() != 1)
            bench.SkipWithError("the screen did not become ready");
    }
    bench.counters["students"] = static_cast<double>(bench.range(0));
}
BENCHMARK(BM_LevelScreenActivate)->Arg(300)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
