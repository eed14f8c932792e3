#include "testutil.h"

#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace vc::test {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

void writeCp932(const QString& path, const QStringList& lines)
{
    QByteArray all;
    for (const QString& line : lines) {
        const auto bytes = Cp932::encode(line);
        ASSERT_TRUE(bytes.has_value()) << line.toStdString();
        all += *bytes + "\r\n";
    }
    writeBytes(path, all);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QByteArray fromHex(const char* spacedHex)
{
    return QByteArray::fromHex(QByteArray(spacedHex).replace(' ', ""));
}

} // namespace vc::test
