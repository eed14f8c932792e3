// Word sheets: one sheet of 40 cards drawn on the preview picture, and the
// whole deck of a 1000-word course drawn on the recording surface.
#include "flashcards/wordsheet.h"
#include "platform/random.h"
#include "printing/paintersurface.h"
#include "printing/printjob.h"
#include "printing/recordingsurface.h"

#include <benchmark/benchmark.h>

namespace {

std::vector<vc::WordCard> deck(int n)
{
    static const char16_t* japanese[] = {u"りんご", u"～を手伝う", u"図書館で本を借りる", u"朝", u"勉強する", u"とても大切な友だち"};
    static const char* english[] = {"apple", "help", "borrow a book at the library", "morning", "study", "a very important friend"};
    std::vector<vc::WordCard> cards;
    for (int i = 0; i < n; ++i)
        cards.push_back({QStringLiteral("Unit%1").arg(i / 20 + 1), QString::fromUtf16(japanese[i % 6]),
                         QString::fromLatin1(english[i % 6])});
    return cards;
}

vc::SheetOptions sheetOptions(bool toPaper)
{
    vc::SheetOptions o;
    o.heading = QStringLiteral("中1 単語テスト");
    o.date = QDate(2026, 12, 10);
    o.shuffle = true;
    o.toPaper = toPaper;
    return o;
}

void BM_SheetOf40OnThePreview(benchmark::State& bench)
{
    const auto cards = deck(40);
    const QSizeF area = vc::pdfDrawableArea();
    vc::SystemRandom random;
    vc::SheetArrays sheet;
    for (auto _ : bench) {
        vc::ImageSurface surface(area.width(), area.height(), 580);
        vc::drawWordSheet(surface, sheet, cards, sheetOptions(false), random, [] { return true; });
        benchmark::DoNotOptimize(surface.image());
    }
}
BENCHMARK(BM_SheetOf40OnThePreview)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Deck1000OnTheRecordingSurface(benchmark::State& bench)
{
    const auto cards = deck(1000);
    vc::SystemRandom random;
    vc::SheetArrays sheet;
    int pages = 0;
    for (auto _ : bench) {
        vc::RecordingSurface surface;
        vc::drawWordSheet(surface, sheet, cards, sheetOptions(true), random);
        pages = surface.pages;
    }
    bench.counters["pages"] = pages;
}
BENCHMARK(BM_Deck1000OnTheRecordingSurface)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
