#include "pack.h"

#include "coursetable/coursetable.h"
#include "platform/textcodec.h"
#include "platform/textfile.h"

#include <stdexcept>

namespace vc::pack {
namespace {

[[noreturn]] void fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

// Filler after the end marker: letters that look like the rest of the line.
// A fixed sequence keeps the output the same from one build to the next.
QString filler(int length, quint32& state)
{
    static const char16_t chars[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789あいうえおかきくけこ単語練習";
    constexpr int count = static_cast<int>(sizeof(chars) / sizeof(chars[0])) - 1;
    QString s;
    s.reserve(length);
    for (int i = 0; i < length; ++i) {
        state = state * 1103515245u + 12345u;
        s.append(QChar(chars[(state >> 16) % count]));
    }
    return s;
}

} // namespace

std::vector<Row> parseCsv(const QString& text)
{
    std::vector<Row> rows;
    const QStringList lines = splitLines(text);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        if (line.trimmed().isEmpty())
            continue;
        Row row;
        QString field;
        bool quoted = false;
        bool wasQuoted = false;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (quoted) {
                if (c == u'"') {
                    if (i + 1 < line.size() && line.at(i + 1) == u'"') {
                        field.append(u'"');
                        ++i;
                    } else {
                        quoted = false;
                    }
                } else {
                    field.append(c);
                }
            } else if (wasQuoted && c != u',') {
                // blanks after a closing quote belong to no field
            } else if (c == u'"' && field.trimmed().isEmpty()) {
                quoted = true;
                wasQuoted = true;
                field.clear();
            } else if (c == u',') {
                row.append(wasQuoted ? field : field.trimmed());
                field.clear();
                wasQuoted = false;
            } else {
                field.append(c);
            }
        }
        if (quoted)
            fail(QStringLiteral("%1 行目: 引用符 \" が閉じていません。").arg(n + 1));
        row.append(wasQuoted ? field : field.trimmed());
        for (const QString& f : row) {
            if (f.contains(u','))
                fail(QStringLiteral("%1 行目: 項目「%2」にコンマがあります。コース表ではコンマは区切りにしか使えません。").arg(n + 1).arg(f));
            if (f.contains(kEndMarker))
                fail(QStringLiteral("%1 行目: 項目に終わりの印「%2」があります。").arg(n + 1).arg(kEndMarker));
        }
        rows.push_back(row);
    }
    return rows;
}

QByteArray packRows(const std::vector<Row>& rows)
{
    if (rows.size() > static_cast<size_t>(CourseTable::kMaxRows))
        fail(QStringLiteral("行が %1 行あります。コース表は %2 行までです。").arg(rows.size()).arg(CourseTable::kMaxRows));
    QByteArray out;
    quint32 state = 20261210u;
    for (size_t n = 0; n < rows.size(); ++n) {
        const Row& row = rows[n];
        if (row.size() > CourseTable::kMaxColumns)
            fail(QStringLiteral("%1 行目: 項目が %2 個あります。1 行は %3 個までです。").arg(n + 1).arg(row.size()).arg(CourseTable::kMaxColumns));
        for (const QString& f : row)
            if (f.contains(u',') || f.contains(kEndMarker) || f.contains(u'\r') || f.contains(u'\n'))
                fail(QStringLiteral("%1 行目: 項目「%2」はコース表に書けません。").arg(n + 1).arg(f));
        QString line = row.join(u',') + kEndMarker;
        const int minimum = largestPosition() + 8;
        line += filler(std::max(minimum - static_cast<int>(line.size()), 8), state);
        scrambleLine(line);
        QString bad;
        const auto bytes = Cp932::encode(line, &bad);
        if (!bytes)
            fail(QStringLiteral("%1 行目: 文字「%2」は Shift-JIS で書けません。").arg(n + 1).arg(bad));
        out += *bytes;
        out += "\r\n";
    }
    return out;
}

QStringList unpackBytes(const QByteArray& bytes)
{
    qsizetype bad = 0;
    const auto text = Cp932::decode(bytes, &bad);
    if (!text)
        fail(QStringLiteral("Shift-JIS ではないバイトがあります（%1 バイト目）。").arg(bad + 1));
    QStringList out;
    const QStringList lines = splitLines(*text);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString s = lines[n];
        if (!unscrambleLine(s))
            fail(QStringLiteral("%1 行目が短すぎます。").arg(n + 1));
        const qsizetype end = s.indexOf(kEndMarker);
        if (end < 0)
            fail(QStringLiteral("%1 行目に終わりの印がありません。").arg(n + 1));
        out.append(s.left(end));
    }
    return out;
}

} // namespace vc::pack
