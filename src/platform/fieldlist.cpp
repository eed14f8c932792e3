#include "fieldlist.h"

#include "errors.h"
#include "textfile.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace vc {
namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
} // namespace

FieldListReader FieldListReader::fromFile(const QString& path)
{
    return FieldListReader(readTextFile(path), path);
}

FieldListReader::FieldListReader(QString text, QString path)
    : text_(std::move(text)), path_(std::move(path))
{
    // An end-of-file mark left by old editors ends the text.
    const qsizetype eof = text_.indexOf(QChar(0x1A));
    if (eof >= 0)
        text_.truncate(eof);
    skipBlankLines();
}

void FieldListReader::fail(const QString& problem, int line) const
{
    throw DataError(fileMessage(path_, QStringLiteral("の %1 行目: %2").arg(line).arg(problem)));
}

// At the start of a line, lines holding nothing but blanks carry no value.
void FieldListReader::skipBlankLines()
{
    for (;;) {
        qsizetype p = pos_;
        while (p < text_.size() && isBlank(text_.at(p)))
            ++p;
        if (p < text_.size() && isLineEnd(text_.at(p))) {
            if (text_.at(p) == u'\r' && p + 1 < text_.size() && text_.at(p + 1) == u'\n')
                ++p;
            pos_ = p + 1;
            ++line_;
            continue;
        }
        return;
    }
}

bool FieldListReader::atEnd() const
{
    for (qsizetype p = pos_; p < text_.size(); ++p)
        if (!isBlank(text_.at(p)) && !isLineEnd(text_.at(p)))
            return false;
    return true;
}

FieldValue FieldListReader::next()
{
    if (pos_ >= text_.size() && afterComma_) {
        // A file ending in a comma still holds a last, empty value.
        afterComma_ = false;
        return FieldValue{QString(), FieldValue::Kind::Plain, line_};
    }
    if (pos_ >= text_.size())
        fail(QStringLiteral("値が足りません（ファイルの終わりを越えて読もうとしました）。"), line_);
    FieldValue value;
    value.line = line_;
    while (pos_ < text_.size() && isBlank(text_.at(pos_)))
        ++pos_;
    const QChar first = pos_ < text_.size() ? text_.at(pos_) : QChar();
    if (first == u'"' || first == u'#') {
        const qsizetype close = text_.indexOf(first, pos_ + 1);
        qsizetype lineEnd = pos_ + 1;
        while (lineEnd < text_.size() && !isLineEnd(text_.at(lineEnd)))
            ++lineEnd;
        if (close < 0 || close > lineEnd)
            fail(first == u'"' ? QStringLiteral("引用符 \" が閉じていません。") : QStringLiteral("# が閉じていません。"), line_);
        value.text = text_.mid(pos_ + 1, close - pos_ - 1);
        value.kind = first == u'"' ? FieldValue::Kind::Quoted : FieldValue::Kind::Hash;
        pos_ = close + 1;
        // Anything between the closing mark and the separator is ignored.
        while (pos_ < text_.size() && text_.at(pos_) != u',' && !isLineEnd(text_.at(pos_)))
            ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < text_.size() && text_.at(pos_) != u',' && !isLineEnd(text_.at(pos_)))
            ++pos_;
        qsizetype end = pos_;
        while (end > start && isBlank(text_.at(end - 1)))
            --end;
        value.text = text_.mid(start, end - start);
    }
    afterComma_ = false;
    if (pos_ < text_.size()) {
        if (text_.at(pos_) == u',') {
            ++pos_;
            afterComma_ = true;
        } else {
            if (text_.at(pos_) == u'\r' && pos_ + 1 < text_.size() && text_.at(pos_ + 1) == u'\n')
                ++pos_;
            ++pos_;
            ++line_;
            skipBlankLines();
        }
    }
    return value;
}

QString FieldListReader::nextText()
{
    return next().text;
}

double FieldListReader::nextNumber()
{
    const FieldValue v = next();
    double d = 0;
    if (v.kind == FieldValue::Kind::Hash || !parseNumber(v.text, &d))
        fail(QStringLiteral("「%1」は数値ではありません。").arg(v.text), v.line);
    return d;
}

int FieldListReader::nextInt()
{
    const int at = line_;
    const double d = nextNumber();
    if (!std::isfinite(d) || d < std::numeric_limits<int>::min() || d > std::numeric_limits<int>::max())
        fail(QStringLiteral("数値 %1 が範囲外です。").arg(d), at);
    return static_cast<int>(std::nearbyint(d));
}

qint16 FieldListReader::nextInt16()
{
    const int at = line_;
    const int v = nextInt();
    if (v < -32768 || v > 32767)
        fail(QStringLiteral("数値 %1 が範囲外です（-32768～32767）。").arg(v), at);
    return static_cast<qint16>(v);
}

QDate FieldListReader::nextDate()
{
    const FieldValue v = next();
    const QDate d = QDate::fromString(v.text, QStringLiteral("yyyy-MM-dd"));
    if (v.kind != FieldValue::Kind::Hash || !d.isValid())
        fail(QStringLiteral("「%1」は日付 #yyyy-mm-dd# ではありません。").arg(v.text), v.line);
    return d;
}

QTime FieldListReader::nextTime()
{
    const FieldValue v = next();
    const QTime t = QTime::fromString(v.text, QStringLiteral("HH:mm:ss"));
    if (v.kind != FieldValue::Kind::Hash || !t.isValid())
        fail(QStringLiteral("「%1」は時刻 #hh:mm:ss# ではありません。").arg(v.text), v.line);
    return t;
}

void FieldListReader::skip(int count)
{
    for (int i = 0; i < count; ++i)
        next();
}

bool parseNumber(const QString& text, double* out)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *out = 0;
        return true;
    }
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(t).hasMatch())
        return false;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    *out = d;
    return true;
}

double leadingNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[ \\t]*([+-]?(\\d+\\.?\\d*|\\.\\d+))"));
    const auto m = number.match(text);
    if (!m.hasMatch())
        return 0;
    return m.captured(1).toDouble();
}

FieldListWriter& FieldListWriter::text(const QString& value)
{
    // The format has no escape for a double quote inside a text; a full-width
    // quote keeps the line readable instead of splitting the value.
    QString v = value;
    v.replace(u'"', u'＂');
    v.remove(u'\r');
    v.replace(u'\n', u' ');
    parts_.append(u'"' + v + u'"');
    return *this;
}

FieldListWriter& FieldListWriter::date(const QDate& value)
{
    parts_.append(u'#' + value.toString(QStringLiteral("yyyy-MM-dd")) + u'#');
    return *this;
}

FieldListWriter& FieldListWriter::time(const QTime& value)
{
    parts_.append(u'#' + value.toString(QStringLiteral("HH:mm:ss")) + u'#');
    return *this;
}

FieldListWriter& FieldListWriter::number(qint64 value)
{
    parts_.append(QString::number(value));
    return *this;
}

FieldListWriter& FieldListWriter::raw(const QString& value)
{
    parts_.append(value);
    return *this;
}

} // namespace vc
