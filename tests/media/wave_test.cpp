#include "platform/qtsound.h"
#include "wavefile.h"

#include <gtest/gtest.h>

using namespace vc;
using namespace vc::test;

namespace {

TEST(ParseWave, SampleFormatsAndDuration)
{
    struct Case { quint16 tag; quint16 channels; quint32 rate; quint16 bits; int frames; QAudioFormat::SampleFormat format; };
    const Case cases[] = {
        {1, 1, 22050, 16, 11025, QAudioFormat::Int16},
        {1, 2, 44100, 16, 4410, QAudioFormat::Int16},
        {1, 1, 8000, 8, 800, QAudioFormat::UInt8},
        {1, 2, 48000, 24, 4800, QAudioFormat::Int32},
        {1, 1, 16000, 32, 1600, QAudioFormat::Int32},
        {3, 1, 32000, 32, 3200, QAudioFormat::Float},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const QByteArray data(c.frames * c.channels * (c.bits / 8), '\x01');
        WaveClip clip;
        QString error;
        ASSERT_TRUE(parseWave(waveFile(c.tag, c.channels, c.rate, c.bits, data), &clip, &error)) << error.toStdString();
        EXPECT_EQ(clip.format.sampleFormat(), c.format);
        EXPECT_EQ(clip.format.channelCount(), c.channels);
        EXPECT_EQ(clip.format.sampleRate(), int(c.rate));
        EXPECT_EQ(clip.durationUs, qint64(c.frames) * 1000000 / c.rate);
        EXPECT_EQ(clip.pcm.size(), qsizetype(c.frames) * clip.format.bytesPerFrame());
    }
}

TEST(ParseWave, TwentyFourBitSamplesAreWidened)
{
    const QByteArray data = QByteArray::fromHex("563412" "ffffff");
    WaveClip clip;
    ASSERT_TRUE(parseWave(waveFile(1, 1, 8000, 24, data), &clip, nullptr));
    EXPECT_EQ(clip.pcm.toHex(), QByteArray("00563412" "00ffffff"));
}

TEST(ParseWave, ChunksAroundTheData)
{
    // An odd-sized chunk before the data is padded to an even length.
    QByteArray odd("LIST");
    putU32(odd, 3);
    odd += QByteArray("abc\0", 4);
    const QByteArray data = QByteArray::fromHex("01000200");
    WaveClip clip;
    ASSERT_TRUE(parseWave(waveFile(1, 1, 8000, 16, data, -1, odd), &clip, nullptr));
    EXPECT_EQ(clip.pcm, data);

    // A data chunk that claims more than the file holds plays what is there, whole frames only.
    ASSERT_TRUE(parseWave(waveFile(1, 1, 8000, 16, QByteArray::fromHex("0100020003"), 1000), &clip, nullptr));
    EXPECT_EQ(clip.pcm, QByteArray::fromHex("01000200"));
}

TEST(ParseWave, RefusesWhatItCannotPlay)
{
    QByteArray noData("RIFF");
    putU32(noData, 4);
    noData += "WAVE";
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("not a wave file at all"),
        noData,
        waveFile(2, 1, 8000, 4, QByteArray(100, '\0')),   // ADPCM
        waveFile(1, 1, 8000, 12, QByteArray(100, '\0')),  // 12-bit
        waveFile(1, 0, 8000, 16, QByteArray(100, '\0')),  // no channels
        waveFile(3, 1, 8000, 64, QByteArray(64, '\0')),   // double samples
    };
    for (const QByteArray& bytes : cases) {
        WaveClip clip;
        QString error;
        EXPECT_FALSE(parseWave(bytes, &clip, &error)) << bytes.left(16).toHex().toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
