// Speed of the statistics pass (run every time the level screen becomes
// active) on a full results file, and of one append to the shared file.
#include "platform/clock.h"
#include "records/resultsfile.h"
#include "records/statistics.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kRecords = 20000;
constexpr int kStudents = 5000;
constexpr int kLevels = 99;

const vc::FakeClock kClock(QDate(2024, 4, 1), QTime(10, 0, 0));

vc::StandardsTable fullStandards()
{
    vc::StandardsTable table;
    for (int level = 1; level <= kLevels; ++level) {
        vc::StandardsRow& row = table.rows[static_cast<size_t>(level)];
        row.targetTime = 20 + level % 40;
        row.minimumTime = row.targetTime * 3 / 2;
        row.clearPoints = 100;
        row.clearCount = 5;
        row.pointMultiplier = level % 3 == 0 ? 1.5f : 1.0f;
        row.banCount = {QStringLiteral("10"), 10};
        row.judgePeriod = {QStringLiteral("7"), 7};
        row.banPeriod = {QStringLiteral("3"), 3};
    }
    return table;
}

// A school's file: runs of every student on every level over the last 60 days.
void writeFullResultsFile(const QString& folder)
{
    std::mt19937 random(20240401);
    const double today = vc::dayNumber(kClock.today());
    QByteArray bytes;
    bytes.reserve(kRecords * vc::kResultRecordSize);
    for (int i = 0; i < kRecords; ++i) {
        vc::ResultRecord r;
        r.runDate = today - static_cast<double>(random() % 60);
        r.runTime = static_cast<double>(random() % 86400) / 86400.0;
        r.studentNumber = static_cast<qint16>(1 + random() % kStudents);
        r.level = static_cast<qint16>(1 + random() % kLevels);
        r.seconds = random() % 20 == 0 ? vc::kNoTime : static_cast<qint32>(10 + random() % 200);
        bytes += vc::encodeResultRecord(r);
    }
    QFile file(vc::resultsFilePath(folder));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}

void BM_ComputeStatistics_Full(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeFullResultsFile(folder);
    const vc::StandardsTable standards = fullStandards();
    // Kept between passes, as the program keeps them.
    vc::LoadedResults results;
    vc::Statistics statistics;
    for (auto _ : state) {
        vc::computeStatistics(folder, standards, kClock, results, statistics);
        benchmark::DoNotOptimize(statistics.at(1, 1).totalPoints);
    }
    if (results.recordCount() != kRecords)
        state.SkipWithError("fixture not loaded in full");
    state.counters["records"] = results.recordCount();
}
BENCHMARK(BM_ComputeStatistics_Full)->Unit(benchmark::kMillisecond)->Repetitions(10);

void BM_AppendResultRecord(benchmark::State& state)
{
    QTemporaryDir dir;
    const vc::ResultDestination destination{dir.path() + u'/', QStringLiteral("12345"), 12};
    for (auto _ : state)
        vc::appendResultRecord(destination, 7, 85, kClock);
}
BENCHMARK(BM_AppendResultRecord)->Unit(benchmark::kMicrosecond)->Repetitions(10);

} // namespace

BENCHMARK_MAIN();
