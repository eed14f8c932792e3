// The notice-page decoder over any bytes.
#include "fuzzutil.h"
#include "students/noticepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)vc::decodeHtmlPage(vc::fuzz::bytesOf(data, size));
    return 0;
}
