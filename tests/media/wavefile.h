#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <cmath>

namespace vc::test {

inline void putU16(QByteArray& b, quint16 v)
{
    char x[2];
    qToLittleEndian(v, x);
    b.append(x, 2);
}
inline void putU32(QByteArray& b, quint32 v)
{
    char x[4];
    qToLittleEndian(v, x);
    b.append(x, 4);
}

// A RIFF WAVE file around `data`; `declaredData` overrides the data chunk's size.
inline QByteArray waveFile(quint16 formatTag, quint16 channels, quint32 rate, quint16 bits, const QByteArray& data,
                           qint64 declaredData = -1, const QByteArray& extraChunk = {})
{
    QByteArray fmt;
    putU16(fmt, formatTag);
    putU16(fmt, channels);
    putU32(fmt, rate);
    putU32(fmt, rate * channels * (bits / 8));
    putU16(fmt, quint16(channels * (bits / 8)));
    putU16(fmt, bits);
    QByteArray body("WAVE");
    body += "fmt ";
    putU32(body, quint32(fmt.size()));
    body += fmt;
    body += extraChunk;
    body += "data";
    putU32(body, quint32(declaredData >= 0 ? declaredData : data.size()));
    body += data;
    QByteArray file("RIFF");
    putU32(file, quint32(body.size()));
    return file + body;
}

// `ms` of a 440 Hz tone, 16-bit mono at 22050 Hz.
inline QByteArray toneFile(int ms)
{
    const int rate = 22050;
    const int frames = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < frames; ++i)
        putU16(data, quint16(qint16(8000 * std::sin(2 * M_PI * 440 * i / rate))));
    return waveFile(1, 1, rate, 16, data);
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace vc::test
