// The sound set-up reader over any bytes.
#include "drill/soundcues.h"
#include "fuzzutil.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = vc::fuzz::scratch() + QStringLiteral("音フォルダ/");
    vc::fuzz::writeFile(folder + QStringLiteral("新音ファイル.txt"), vc::fuzz::bytesOf(data, size));
    try {
        const vc::SoundCues cues = vc::loadSoundCues(folder);
        for (const vc::SoundCategory& c : cues.categories)
            (void)vc::drawSoundIndex(c, 0.999);
    } catch (const vc::DataError&) {
    }
    return 0;
}
