// Speed of the teacher's screens on full results files: the results list of
// FrmData, deleting one record (lock, scratch copy and syncs included), and
// the standards editor's distribution, which runs on every key.
#include "admin/frmdata.h"
#include "admin/resultsadmin.h"
#include "platform/clock.h"
#include "platform/lockedfile.h"
#include "platform/messages.h"
#include "platform/textcodec.h"
#include "records/distribution.h"
#include "records/frmtimedata.h"
#include "records/resultsfile.h"
#include "records/resultsrewrite.h"
#include "startup/appstate.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kStudents = 500;
constexpr int kLevels = 99;

const vc::FakeClock kClock(QDate(2024, 4, 1), QTime(10, 0, 0));

QByteArray fullResults(int records)
{
    std::mt19937 random(20240401);
    const double today = vc::dayNumber(kClock.today());
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(records) * vc::kResultRecordSize);
    for (int i = 0; i < records; ++i) {
        vc::ResultRecord r;
        r.runDate = today - static_cast<double>(random() % 400);
        r.runTime = static_cast<double>(random() % 86400) / 86400.0;
        r.studentNumber = static_cast<qint16>(1 + random() % kStudents);
        r.level = static_cast<qint16>(1 + random() % kLevels);
        r.seconds = random() % 20 == 0 ? vc::kNoTime : static_cast<qint32>(10 + random() % 200);
        bytes += vc::encodeResultRecord(r);
    }
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}

// A school in a folder on the real disk (syncs cost what they cost there).
struct BenchSchool {
    explicit BenchSchool(int records)
        : dir(QDir::currentPath() + QStringLiteral("/bench-admin-XXXXXX"))
    {
        const QString folder = dir.path() + u'/';
        state.services.clock = const_cast<vc::FakeClock*>(&kClock);
        state.services.messages = &messages;
        state.paths.DataFolder = folder;
        state.paths.CourseFolder = folder;
        state.settings.SchoolYearStartMonth = 4;
        state.settings.SchoolName = QStringLiteral("北校");
        QByteArray text;
        for (int s = 1; s <= kStudents; ++s)
            text += QStringLiteral("%1,2012,0,0,\"生徒%1\",0,\"\",\"\"\r\n").arg(s).toUtf8();
        // Roster names are plain ASCII digits and kanji that CP932 holds.
        writeFile(folder + QStringLiteral("新名簿.txt"), *vc::Cp932::encode(QString::fromUtf8(text)));
        writeFile(vc::resultsFilePath(folder), fullResults(records));
        QByteArray standards = *vc::Cp932::encode(QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n"));
        for (int k = 1; k <= kLevels; ++k)
            standards += "30,45,30,3,1,5,60,7,1,,,\r\n";
        writeFile(vc::standardsFilePath(folder), standards);
    }
    QTemporaryDir dir;
    vc::RecordingMessages messages;
    vc::AppState state;
};

void BM_AdminListRows(benchmark::State& state)
{
    BenchSchool school(static_cast<int>(state.range(0)));
    vc::AdminRoster roster;
    vc::adminRosterPass(school.state.paths.DataFolder + QStringLiteral("新名簿.txt"), 2024, roster);
    for (auto _ : state) {
        auto rows = vc::buildAdminRows(vc::resultsFilePath(school.state.paths.CourseFolder), roster, {});
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_AdminListRows)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The whole list as the screen builds it: roster pass, lines, list widget.
void BM_FrmDataBuildResultsList(benchmark::State& state)
{
    BenchSchool school(static_cast<int>(state.range(0)));
    vc::FrmData screen(school.state);
    for (auto _ : state) {
        screen.buildResultsList();
        benchmark::DoNotOptimize(screen.List1->count());
    }
    if (!school.messages.shown.empty())
        state.SkipWithError("a message was shown");
}
BENCHMARK(BM_FrmDataBuildResultsList)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One deletion from the middle of the file, lock and syncs included; the
// file is topped up again outside the timing so every deletion sees the
// same size.
void BM_DeleteRecord(benchmark::State& state)
{
    BenchSchool school(static_cast<int>(state.range(0)));
    const QString path = vc::resultsFilePath(school.state.paths.CourseFolder);
    const QByteArray spare = fullResults(1);
    const qint64 number = state.range(0) / 2;
    for (auto _ : state) {
        state.PauseTiming();
        vc::ResultsFile file(path);
        const QByteArray expected = file.readBytes(number, 1);
        state.ResumeTiming();
        if (vc::deleteResultRecord(path, number, expected) != vc::RewriteOutcome::Done)
            state.SkipWithError("stale");
        state.PauseTiming();
        vc::appendFixedRecord(path, spare);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteRecord)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Distribution(benchmark::State& state)
{
    BenchSchool school(static_cast<int>(state.range(0)));
    const QString path = vc::resultsFilePath(school.state.paths.CourseFolder);
    int level = 1;
    for (auto _ : state) {
        const vc::LevelDistribution d = vc::readDistribution(path, level);
        const QStringList all = vc::allRunsLines(d);
        const QStringList best = vc::bestTimeLines(d);
        benchmark::DoNotOptimize(all.size() + best.size());
        level = level % kLevels + 1;
    }
}
BENCHMARK(BM_Distribution)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

// refreshDistribution of the screen, list widgets included.
void BM_FrmTimeDataRefreshDistribution(benchmark::State& state)
{
    BenchSchool school(static_cast<int>(state.range(0)));
    vc::FrmTimeData screen(school.state);
    screen.Form_Activate();
    for (auto _ : state) {
        screen.refreshDistribution();
        benchmark::DoNotOptimize(screen.List3->count());
    }
}
BENCHMARK(BM_FrmTimeDataRefreshDistribution)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
