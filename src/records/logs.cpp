#include "records/logs.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "platform/textfile.h"

#include <QFile>

namespace vc {

QString answerLogPath(const QString& courseFolder, int studentNumber)
{
    return courseFolder + QStringLiteral("結果") + QString::number(studentNumber) + QStringLiteral(".csv");
}

QString giveUpLogPath(const QString& courseFolder, int studentNumber)
{
    return courseFolder + QStringLiteral("ギブ") + QString::number(studentNumber) + QStringLiteral(".csv");
}

void appendAnswerLog(const QString& courseFolder, int studentNumber, const Clock& clock,
                     const QString& levelName, const QString& prompt, const QString& expectedAnswer,
                     const QString& result)
{
    FieldListWriter line;
    line.date(clock.today()).time(clock.timeOfDay()).text(levelName).text(prompt).text(expectedAnswer).text(result);
    appendTextLine(answerLogPath(courseFolder, studentNumber), line.line());
}

void appendGiveUp(const QString& courseFolder, int studentNumber, const Clock& clock)
{
    appendTextLine(giveUpLogPath(courseFolder, studentNumber), FieldListWriter().date(clock.today()).line());
}

int countGiveUpsToday(const QString& courseFolder, int studentNumber, const Clock& clock)
{
    const QString path = giveUpLogPath(courseFolder, studentNumber);
    if (!QFile::exists(path)) {
        QFile created(path);
        // Append, so a log that appeared meanwhile is never truncated.
        if (!created.open(QIODevice::WriteOnly | QIODevice::Append))
            throw DataError(fileMessage(path, QStringLiteral("を作れません。")));
        return 0;
    }
    FieldListReader reader = FieldListReader::fromFile(path);
    const QDate today = clock.today();
    int count = 0;
    while (!reader.atEnd())
        if (reader.nextDate() == today)
            ++count;
    return count;
}

} // namespace vc
