// The results file over any bytes: loading, a statistics pass and this
// computer's pending records (the first byte splits the input between them).
#include "fuzzutil.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "records/pendingresults.h"
#include "records/resultsfile.h"
#include "records/standards.h"
#include "records/statistics.h"

#include <QDate>
#include <QTime>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static auto results = std::make_unique<vc::LoadedResults>();
    static auto statistics = std::make_unique<vc::Statistics>();
    static auto standards = [] {
        auto t = std::make_unique<vc::StandardsTable>();
        for (int level = 1; level <= 100; ++level)
            if (vc::StandardsRow* row = t->level(level)) {
                row->targetTime = 30;
                row->minimumTime = 60;
                row->pointMultiplier = 1.5f;
            }
        return t;
    }();
    static const vc::FakeClock clock{QDate(2024, 6, 3), QTime(10, 0, 0)};
    const QString folder = vc::fuzz::scratch();
    const QByteArray all = vc::fuzz::bytesOf(data, size);
    const qsizetype split = all.isEmpty() ? 0 : qsizetype(uint8_t(all[0])) * 2;
    const QByteArray file = all.mid(1, split);
    const QByteArray pending = all.mid(1 + split);
    vc::fuzz::writeFile(vc::resultsFilePath(folder), file);
    const QString pendingPath = folder + QStringLiteral("pending.dat");
    vc::fuzz::writeFile(pendingPath, pending);
    results->setPendingFile(pendingPath);
    try {
        vc::computeStatistics(folder, *standards, clock, *results, *statistics);
        for (int level = 0; level <= 100; ++level)
            (void)results->levelBestTime(level);
        (void)vc::deliverPendingRecords(vc::resultsFilePath(folder), pendingPath, std::chrono::milliseconds(100));
    } catch (const vc::DataError&) {
    }
    return 0;
}
