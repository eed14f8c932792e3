// The scrambled course table reader over any bytes.
#include "coursetable/coursetable.h"
#include "fuzzutil.h"
#include "platform/errors.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader is given the course's source name and reads its scrambled twin.
    vc::fuzz::writeFile(vc::fuzz::scratch() + QStringLiteral("E0002vv.ccc"), vc::fuzz::bytesOf(data, size));
    static auto table = std::make_unique<vc::CourseTable>();
    try {
        vc::readScrambledTable(vc::fuzz::scratch() + QStringLiteral("E0002.csv"), *table);
    } catch (const vc::DataError&) {
    }
    return 0;
}
