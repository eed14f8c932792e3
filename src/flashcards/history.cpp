#include "flashcards/history.h"

#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "records/logs.h"

#include <QFile>
#include <QSet>

namespace vc {

QString historyCaption(int studentNumber)
{
    return QStringLiteral("今までのあなたの結果(全データは　") + QStringLiteral("結果") + QString::number(studentNumber) +
           QStringLiteral(".csv　に保存されています)");
}

namespace {

QString padded(const QString& text, int width) { return text.leftJustified(width, u' ', true); }

} // namespace

QString historyRow(const QString& levelName, const QString& prompt, const QString& expected, const QString& result)
{
    const QString level = (QStringLiteral("     ") + levelName).right(4);
    if (result == kCorrectAnswerMark)
        return level + u'　' + padded(expected, 30) + QStringLiteral("  ○") + QString(31, u' ') + prompt;
    return level + u'　' + padded(expected, 30) + QStringLiteral("  ×") + padded(result, 30) + u' ' + prompt;
}

HistoryRows readHistory(const QString& path, const QStringList& chosenUnits, bool wrongOnly)
{
    HistoryRows out;
    try {
        if (!QFile::exists(path)) {
            QFile created(path);
            if (!created.open(QIODevice::WriteOnly | QIODevice::Append))
                throw DataError(fileMessage(path, QStringLiteral("を作れません。")));
            return out;
        }
        QSet<QString> levels;
        for (const QString& unit : chosenUnits)
            levels.insert(u'p' + unit);
        FieldListReader reader = FieldListReader::fromFile(path);
        while (!reader.atEnd()) {
            reader.next();  // date
            reader.next();  // time
            const QString level = reader.next().text;
            const QString prompt = reader.next().text;
            const QString expected = reader.next().text;
            const QString result = reader.next().text;
            if (!levels.contains(level))
                continue;
            if (wrongOnly && result == kCorrectAnswerMark)
                continue;
            out.rows.append(historyRow(level, prompt, expected, result));
        }
    } catch (const DataError& e) {
        out.error = e.message();
    }
    return out;
}

} // namespace vc
