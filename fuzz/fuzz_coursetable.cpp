// The scrambled course table reader over any bytes.
#include "coursetable/coursetable.h"
#include "fuzzutil.h"
#include "platform/errors.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = vc::fuzz::scratch() + QStringLiteral("E0002vv.ccc");
    vc::fuzz::writeFile(path, vc::fuzz::bytesOf(data, size));
    static auto table = std::make_unique<vc::CourseTable>();
    try {
        vc::readScrambledTable(path, *table);
    } catch (const vc::DataError&) {
    }
    return 0;
}
