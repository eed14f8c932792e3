// A three-level report (six passes over a 20000-record results file and six
// rankings of 5000 students) drawn on the recording surface, and on the
// preview picture.
#include "benchschool.h"

#include "levelscreen/report.h"
#include "printing/paintersurface.h"
#include "printing/recordingsurface.h"

#include <benchmark/benchmark.h>

namespace {

using vc::bench::BenchSchool;

vc::ReportRequest threeLevels()
{
    vc::ReportRequest request;
    request.student = 1;
    request.levels = {1, 2, 3};
    request.gradeFilter = QStringLiteral("全学年");
    return request;
}

void BM_ReportRecording(benchmark::State& bench)
{
    static BenchSchool school(5000);
    const vc::ReportRequest request = threeLevels();
    size_t operations = 0;
    for (auto _ : bench) {
        vc::RecordingSurface surface;
        vc::drawReport(*school.state, request, surface);
        operations = surface.operations.size();
    }
    bench.counters["operations"] = static_cast<double>(operations);
}
BENCHMARK(BM_ReportRecording)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ReportPicture(benchmark::State& bench)
{
    static BenchSchool school(5000);
    const vc::ReportRequest request = threeLevels();
    for (auto _ : bench) {
        vc::ImageSurface surface(vc::kA4WidthTwips - 1134, vc::kA4HeightTwips - 1134, 760);
        vc::drawReport(*school.state, request, surface);
        benchmark::DoNotOptimize(surface.image());
    }
}
BENCHMARK(BM_ReportPicture)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
