#include "textfile.h"

#include "errors.h"
#include "textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vc {

QString fileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString fileMessage(const QString& path, const QString& problem)
{
    return QStringLiteral("ファイル「%1」%2\n（%3）").arg(fileNameOf(path), problem, path);
}

QString readTextFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        throw DataError(fileMessage(path, QStringLiteral("が見つかりません。")));
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(fileMessage(path, QStringLiteral("を読めません。")));
    const QByteArray bytes = file.readAll();
    file.close();
    qsizetype bad = 0;
    const auto text = Cp932::decode(bytes, &bad);
    if (!text)
        throw DataError(fileMessage(path, QStringLiteral("の文字コードが Shift-JIS ではありません（%1 バイト目）。").arg(bad + 1)));
    return *text;
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n') {
            qsizetype end = i;
            if (end > start && text.at(end - 1) == u'\r')
                --end;
            lines.append(text.mid(start, end - start));
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QStringList readTextLines(const QString& path)
{
    return splitLines(readTextFile(path));
}

namespace {
QByteArray encodeLines(const QString& path, const QStringList& lines)
{
    QByteArray all;
    for (const QString& line : lines) {
        QString bad;
        const auto bytes = Cp932::encode(line, &bad);
        if (!bytes)
            throw DataError(fileMessage(path, QStringLiteral("に書けない文字「%1」があります。").arg(bad)));
        all += *bytes;
        all += "\r\n";
    }
    return all;
}
} // namespace

void writeTextLines(const QString& path, const QStringList& lines)
{
    const QByteArray all = encodeLines(path, lines);
    // Written to a temporary file and renamed, so a failure never leaves half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(all) != all.size() || !file.commit())
        throw DataError(fileMessage(path, QStringLiteral("に書き込めません。")));
}

void appendTextLine(const QString& path, const QString& line)
{
    const QByteArray all = encodeLines(path, {line});
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(all) != all.size())
        throw DataError(fileMessage(path, QStringLiteral("に書き込めません。")));
    file.close();
}

} // namespace vc
