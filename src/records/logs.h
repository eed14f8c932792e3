#pragma once
#include <QString>
#include <QStringView>

namespace vc {

class Clock;

// Each student's logs in the course folder, CP932 with CR LF line ends.
QString answerLogPath(const QString& courseFolder, int studentNumber);  // "結果" + number + ".csv"
QString giveUpLogPath(const QString& courseFolder, int studentNumber);  // "ギブ" + number + ".csv"

// The last value of an answer-log line for a correct answer.
inline constexpr QStringView kCorrectAnswerMark = u"○";

// Appends one line: #date#,#time#,"level name","prompt","expected answer","result",
// where result is kCorrectAnswerMark or the typed answer. Creates the file.
void appendAnswerLog(const QString& courseFolder, int studentNumber, const Clock& clock,
                     const QString& levelName, const QString& prompt, const QString& expectedAnswer,
                     const QString& result);

// Appends today's date as one line (#yyyy-mm-dd#). Creates the file.
void appendGiveUp(const QString& courseFolder, int studentNumber, const Clock& clock);

// The number of values in the give-up log that are today's date. A missing
// log is created empty first. A value that is not a date throws DataError.
int countGiveUpsToday(const QString& courseFolder, int studentNumber, const Clock& clock);

} // namespace vc
