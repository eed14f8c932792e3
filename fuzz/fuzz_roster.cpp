// The roster reader over any bytes.
#include "fuzzutil.h"
#include "platform/errors.h"
#include "students/roster.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = vc::fuzz::scratch() + QStringLiteral("新名簿.txt");
    vc::fuzz::writeFile(path, vc::fuzz::bytesOf(data, size));
    try {
        for (const vc::RosterRecord& r : vc::readRoster(path))
            (void)vc::trimSpaces(r.name);
    } catch (const vc::DataError&) {
    }
    return 0;
}
