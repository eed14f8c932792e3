#include "platform/csv.h"

namespace vc {
namespace {

QString quoted(QString value)
{
    value.replace(u'"', QStringLiteral("\"\""));
    return u'"' + value + u'"';
}

} // namespace

QString csvField(const QString& value)
{
    if (!value.contains(u',') && !value.contains(u'"') && !value.contains(u'\n') && !value.contains(u'\r'))
        return value;
    return quoted(value);
}

QString csvTextField(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return quoted(u'\'' + text);
    return csvField(text);
}

} // namespace vc
