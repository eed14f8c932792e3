#include "noticepage.h"

#include "platform/textcodec.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace vc {

namespace {

QString decodeShiftJis(const QByteArray& bytes)
{
    if (const auto text = Cp932::decode(bytes))
        return *text;
    QStringDecoder lenient("Shift_JIS");
    if (lenient.isValid())
        return lenient.decode(bytes);
    return QString::fromLatin1(bytes);
}

} // namespace

QString decodeHtmlPage(const QByteArray& bytes)
{
    static const QRegularExpression declared(QStringLiteral(R"(charset\s*=\s*["']?\s*([A-Za-z0-9_\-]+))"),
                                             QRegularExpression::CaseInsensitiveOption);
    // Only the ASCII bytes matter for the declaration.
    const QRegularExpressionMatch m = declared.match(QString::fromLatin1(bytes));
    const QString charset = m.hasMatch() ? m.captured(1).toLower() : QString();
    if (charset == u"utf-8" || charset == u"utf8")
        return QString::fromUtf8(bytes);
    if (charset.isEmpty()) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
        return decodeShiftJis(bytes);
    }
    static const QStringList shiftJis = {QStringLiteral("shift_jis"), QStringLiteral("shift-jis"), QStringLiteral("sjis"),
                                         QStringLiteral("x-sjis"), QStringLiteral("windows-31j"), QStringLiteral("cp932"),
                                         QStringLiteral("ms932"), QStringLiteral("ms_kanji")};
    if (!shiftJis.contains(charset)) {
        QStringDecoder other(charset.toLatin1().constData());
        if (other.isValid()) {
            const QString text = other.decode(bytes);
            if (!other.hasError())
                return text;
        }
    }
    return decodeShiftJis(bytes);
}

} // namespace vc
