// The standards file reader over any bytes, and writing back what it read.
#include "fuzzutil.h"
#include "platform/errors.h"
#include "records/standards.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = vc::fuzz::scratch() + QStringLiteral("タイム回数データ.txt");
    vc::fuzz::writeFile(path, vc::fuzz::bytesOf(data, size));
    static auto table = std::make_unique<vc::StandardsTable>();
    try {
        vc::loadStandards(path, *table);
        const QList<vc::StandardsLine> lines = vc::readStandardsLines(path);
        vc::saveStandards(vc::fuzz::scratch() + QStringLiteral("saved.txt"), lines);
    } catch (const vc::DataError&) {
    }
    return 0;
}
