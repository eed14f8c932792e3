#include "records/standards.h"

#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "platform/textfile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vc {
namespace {

struct NumberedLine {
    StandardsLine values;
    int line = 0;
};

[[noreturn]] void failAt(const QString& path, int line, const QString& problem)
{
    throw DataError(fileMessage(path, QStringLiteral("の %1 行目: %2").arg(line).arg(problem)));
}

// One line's values by the rules of the comma-separated files: blanks around
// a value dropped, "…" and #…# enclose a value, a comma always starts one more
// value (so a line ending in a comma ends in an empty value).
QStringList splitValues(const QString& path, int line, const QString& text)
{
    QStringList values;
    qsizetype pos = 0;
    const auto blank = [&](qsizetype p) { return p < text.size() && (text.at(p) == u' ' || text.at(p) == u'\t'); };
    for (;;) {
        while (blank(pos))
            ++pos;
        const QChar first = pos < text.size() ? text.at(pos) : QChar();
        if (first == u'"' || first == u'#') {
            const qsizetype close = text.indexOf(first, pos + 1);
            if (close < 0)
                failAt(path, line, first == u'"' ? QStringLiteral("引用符 \" が閉じていません。") : QStringLiteral("# が閉じていません。"));
            values.append(text.mid(pos + 1, close - pos - 1));
            pos = text.indexOf(u',', close + 1);
        } else {
            const qsizetype comma = text.indexOf(u',', pos);
            qsizetype end = comma < 0 ? text.size() : comma;
            while (end > pos && blank(end - 1))
                --end;
            values.append(text.mid(pos, end - pos));
            pos = comma;
        }
        if (pos < 0)
            return values;
        ++pos;
    }
}

QList<NumberedLine> readNumberedLines(const QString& path)
{
    QString text = readTextFile(path);
    // An end-of-file mark left by old editors ends the text.
    const qsizetype eof = text.indexOf(QChar(0x1A));
    if (eof >= 0)
        text.truncate(eof);
    const QStringList raw = splitLines(text);
    QList<NumberedLine> lines;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (raw[i].trimmed().isEmpty())
            continue;
        if (lines.size() == kLevelRows)
            failAt(path, line, QStringLiteral("行が多すぎます（見出しの行とレベル 1～%1 の行までです）。").arg(kLevelRows - 1));
        // Reading on across line ends, as the format allows, would let one
        // short line shift every later level, so each line must be whole.
        const QStringList values = splitValues(path, line, raw[i]);
        if (values.size() != kStandardsColumns)
            failAt(path, line, QStringLiteral("値が %1 個あります（%2 個必要です）。").arg(values.size()).arg(kStandardsColumns));
        NumberedLine row;
        row.line = line;
        std::copy(values.begin(), values.end(), row.values.begin());
        lines.append(std::move(row));
    }
    return lines;
}

double numberAt(const QString& path, const NumberedLine& row, int column)
{
    const QString& text = row.values[static_cast<size_t>(column - 1)];
    double value = 0;
    if (!parseNumber(text, &value))
        failAt(path, row.line, QStringLiteral("%1 列目の「%2」は数値ではありません。").arg(column).arg(text));
    return value;
}

qint64 wholeNumberAt(const QString& path, const NumberedLine& row, int column, qint64 low, qint64 high)
{
    // Whole-number columns round like the values they were typed as: halves to even.
    const double value = std::nearbyint(numberAt(path, row, column));
    if (!(value >= static_cast<double>(low) && value <= static_cast<double>(high)))
        failAt(path, row.line, QStringLiteral("%1 列目の「%2」が範囲外です（%3～%4）。")
                                   .arg(column).arg(row.values[static_cast<size_t>(column - 1)]).arg(low).arg(high));
    return static_cast<qint64>(value);
}

StandardsRow parseLevelRow(const QString& path, const NumberedLine& row)
{
    constexpr qint64 int32Low = std::numeric_limits<qint32>::min();
    constexpr qint64 int32High = std::numeric_limits<qint32>::max();
    StandardsRow out;
    out.targetTime = static_cast<qint32>(wholeNumberAt(path, row, 1, int32Low, int32High));
    out.minimumTime = static_cast<qint32>(wholeNumberAt(path, row, 2, int32Low, int32High));
    out.clearPoints = static_cast<qint32>(wholeNumberAt(path, row, 3, int32Low, int32High));
    out.clearCount = static_cast<qint16>(wholeNumberAt(path, row, 4, -32768, 32767));
    const double multiplier = numberAt(path, row, 5);
    if (!(std::fabs(multiplier) <= std::numeric_limits<float>::max()))
        failAt(path, row.line, QStringLiteral("5 列目の「%1」が範囲外です。").arg(row.values[4]));
    out.pointMultiplier = static_cast<float>(multiplier);
    OptionalNumber* optional[] = {&out.banCount, &out.banPoints, &out.judgePeriod, &out.banPeriod};
    for (int i = 0; i < 4; ++i) {
        optional[i]->text = row.values[static_cast<size_t>(5 + i)];
        optional[i]->value = numberAt(path, row, 6 + i);
    }
    for (int i = 0; i < 3; ++i)
        out.reserved[static_cast<size_t>(i)] = row.values[static_cast<size_t>(9 + i)];
    return out;
}

bool startsWithMark(const QString& value)
{
    for (QChar c : value) {
        if (c == u' ' || c == u'\t')
            continue;
        return c == u'"' || c == u'#';
    }
    return false;
}

// How one cell goes into the file so that reading gives the same text back
// (blanks at either end excepted, which reading drops and no rule needs).
QString cellForFile(const QString& path, int line, const QString& value)
{
    if (value.contains(u'\r') || value.contains(u'\n'))
        failAt(path, line, QStringLiteral("値「%1」に改行があるため書けません。").arg(value));
    if (!value.contains(u',') && !startsWithMark(value))
        return value;
    if (value.contains(u'"'))
        failAt(path, line, QStringLiteral("値「%1」はこのファイルに書けません（, と \" を一緒に含んでいます）。").arg(value));
    return u'"' + value + u'"';
}

} // namespace

QString standardsFilePath(const QString& courseFolder)
{
    return courseFolder + QStringLiteral("タイム回数データ.txt");
}

QList<StandardsLine> readStandardsLines(const QString& path)
{
    QList<StandardsLine> out;
    for (NumberedLine& row : readNumberedLines(path))
        out.append(std::move(row.values));
    return out;
}

void loadStandards(const QString& path, StandardsTable& table)
{
    const QList<NumberedLine> lines = readNumberedLines(path);
    // Everything is parsed before the table changes, so a bad line leaves it whole.
    std::array<StandardsRow, kLevelRows> rows = table.rows;
    for (qsizetype k = 1; k < lines.size(); ++k)
        rows[static_cast<size_t>(k)] = parseLevelRow(path, lines[k]);
    table.rows = std::move(rows);
}

void saveStandards(const QString& path, const QList<StandardsLine>& levelRows)
{
    static const QString heading = QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,");
    QStringList lines{heading};
    for (qsizetype r = 0; r < levelRows.size(); ++r) {
        QStringList cells;
        for (const QString& value : levelRows[r])
            cells.append(cellForFile(path, static_cast<int>(r) + 2, value));
        lines.append(cells.join(u','));
    }
    writeTextLines(path, lines);
}

void applyDefaultTimes(StandardsTable& table, std::span<const int> defaultTargetTime, int levelCount)
{
    const int last = std::min<int>({levelCount, kLevelRows - 1, static_cast<int>(defaultTargetTime.size()) - 1});
    for (int i = 1; i <= last; ++i) {
        StandardsRow& row = table.rows[static_cast<size_t>(i)];
        row.targetTime = defaultTargetTime[static_cast<size_t>(i)];
        // nearbyint rounds halves to even in the default rounding mode: 25 gives 38, 15 gives 22.
        const double minimum = std::nearbyint(static_cast<double>(row.targetTime) * 1.5);
        row.minimumTime = static_cast<qint32>(std::clamp<double>(minimum, std::numeric_limits<qint32>::min(),
                                                                 std::numeric_limits<qint32>::max()));
    }
}

} // namespace vc
