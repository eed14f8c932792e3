// The value reader over any bytes: every kind of read, chosen by the first byte.
#include "fuzzutil.h"
#include "platform/errors.h"
#include "platform/fieldlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t plan = data[0];
    const QString path = vc::fuzz::scratch() + QStringLiteral("values.txt");
    vc::fuzz::writeFile(path, vc::fuzz::bytesOf(data + 1, size - 1));
    try {
        auto in = vc::FieldListReader::fromFile(path);
        for (int k = 0; k < 64 && !in.atEnd(); ++k) {
            switch ((plan >> (k % 4) * 2) & 3) {
            case 0: in.nextText(); break;
            case 1: in.nextNumber(); break;
            case 2: in.nextInt16(); break;
            case 3: (k & 1) ? (void)in.nextDate() : (void)in.nextTime(); break;
            }
        }
    } catch (const vc::DataError&) {
    }
    return 0;
}
