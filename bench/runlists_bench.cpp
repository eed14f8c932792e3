// The three run lists on a 20000-record results file, 99 levels and 5000
// listed students: the scan with every column's lines sorted (the domain
// side), and today's and the period's lists filled on the level screen.
#include "benchschool.h"

#include "levelscreen/runlists.h"
#include "levelscreen/seisekitime1.h"
#include "platform/listorder.h"

#include <benchmark/benchmark.h>

namespace {

using vc::bench::BenchSchool;

void BM_RunListLines(benchmark::State& bench)
{
    static BenchSchool school(5000);
    const auto list = static_cast<vc::RunList>(bench.range(0));
    const vc::RunListRequest request{list, vc::ViewKind::Time, 5, QStringLiteral("全学年")};
    size_t lines = 0;
    for (auto _ : bench) {
        std::vector<QStringList> columns = vc::runListLines(*school.state, request);
        lines = 0;
        for (QStringList& column : columns) {
            vc::sortListTexts(column);
            lines += static_cast<size_t>(column.size());
        }
        benchmark::DoNotOptimize(columns);
    }
    bench.counters["lines"] = static_cast<double>(lines);
}
// 0 today's runs, 1 the period's (everything so far), 2 the student's own.
BENCHMARK(BM_RunListLines)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same lists into the columns of the level screen, wait cover and all.
void BM_RunListOnScreen(benchmark::State& bench)
{
    static BenchSchool school(5000);
    vc::seisekitime1 screen(*school.state);
    screen.Form_Load();
    for (auto _ : bench) {
        if (bench.range(0) == 0)
            screen.Command5_Click();
        else
            screen.Command7_Click();
    }
}
BENCHMARK(BM_RunListOnScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
