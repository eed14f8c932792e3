#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

namespace vc {

// One value of a comma-separated settings, roster or log file.
struct FieldValue {
    enum class Kind { Plain, Quoted, Hash };
    QString text;   // without quotes or "#" signs
    Kind kind = Kind::Plain;
    int line = 0;   // 1-based line the value starts on, for messages
};

// Reads a text file value by value: commas or line ends separate values; spaces
// around an unquoted value are dropped; a value in double quotes keeps its inner
// commas and spaces; "#…#" holds a date or a time. Blank lines are passed over.
// Reading past the last value, or a value that is not the expected kind, throws
// DataError naming the file and the line.
class FieldListReader {
public:
    // Reads and decodes the whole file (CP932).
    static FieldListReader fromFile(const QString& path);
    FieldListReader(QString text, QString path);

    bool atEnd() const;
    FieldValue next();
    QString nextText();
    double nextNumber();              // an empty value reads as 0
    int nextInt();                    // whole number in 32-bit range
    qint16 nextInt16();
    QDate nextDate();                 // #yyyy-mm-dd#
    QTime nextTime();                 // #hh:mm:ss#
    void skip(int count);

    const QString& path() const { return path_; }
    int line() const { return line_; }
    [[noreturn]] void fail(const QString& problem, int line) const;

private:
    void skipBlankLines();
    QString text_;
    QString path_;
    qsizetype pos_ = 0;
    bool afterComma_ = false; // a comma just ended a value: one more (maybe empty) follows
    int line_ = 1;
};

// Parses a number the way the files hold them: optional sign, digits, optional
// decimal part and exponent, spaces around allowed. Empty text is 0.
bool parseNumber(const QString& text, double* out);

// The leading-number parse: leading spaces skipped, then as much of a number as
// the text starts with; no number gives 0 ("12abc" → 12, "北校" → 0).
double leadingNumber(const QString& text);

// Builds one line of the same format: texts in double quotes, dates and times
// between "#" signs, numbers and raw cells as they are.
class FieldListWriter {
public:
    FieldListWriter& text(const QString& value);
    FieldListWriter& date(const QDate& value);
    FieldListWriter& time(const QTime& value);
    FieldListWriter& number(qint64 value);
    FieldListWriter& raw(const QString& value);
    QString line() const { return parts_.join(u','); }

private:
    QStringList parts_;
};

} // namespace vc
