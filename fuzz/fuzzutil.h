#pragma once
// Shared by the fuzz targets: a scratch folder of this process and a way to
// put the fuzzer's bytes into a named file there.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace vc::fuzz {

inline const QString& scratch()
{
    static QTemporaryDir* dir = [] {
        auto* d = new QTemporaryDir;
        if (!d->isValid())
            std::abort();
        return d;
    }();
    static const QString path = dir->path() + QStringLiteral("/");
    return path;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace vc::fuzz
