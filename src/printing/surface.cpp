#include "printing/surface.h"

namespace vc {
namespace {

constexpr qsizetype kMaxLineLength = 128;

void wrapParagraph(const DrawingSurface& surface, QString rest, double width, QStringList& lines)
{
    while (!rest.isEmpty()) {
        // The longest beginning that fits (one character at least).
        qsizetype fits = 1;
        while (fits < rest.size() && fits < kMaxLineLength && surface.textWidth(rest.left(fits + 1)) <= width)
            ++fits;
        qsizetype cut = fits;
        if (fits < rest.size()) {
            // Prefer to break after a blank, keeping words whole.
            const qsizetype blank = rest.left(fits + 1).lastIndexOf(u' ');
            if (blank > 0)
                cut = blank;
        }
        QString line = rest.left(cut);
        while (line.endsWith(u' '))
            line.chop(1);
        lines.append(line);
        rest = rest.mid(cut);
        while (rest.startsWith(u' '))
            rest.remove(0, 1);
    }
}

} // namespace

QStringList wrapText(const DrawingSurface& surface, const QString& text, double width)
{
    QStringList lines;
    const QStringList paragraphs = QString(text).remove(u'\r').split(u'\n');
    for (const QString& paragraph : paragraphs) {
        if (paragraph.isEmpty())
            lines.append(QString());
        else
            wrapParagraph(surface, paragraph, width, lines);
    }
    return lines;
}

} // namespace vc
