#pragma once
// Reads PDFs back with poppler's command-line tools, for the print tests.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vc::test {

inline QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of the PDF, NFKC-normalised: pdftotext gives some kanji as their
// Kangxi-radical twins.
inline QString pdfText(const QString& path, const QStringList& options = {QStringLiteral("-layout")})
{
    return runTool(QStringLiteral("pdftotext"), options + QStringList{path, QStringLiteral("-")}).normalized(QString::NormalizationForm_KC);
}

inline int pdfPageCount(const QString& path)
{
    for (const QString& line : runTool(QStringLiteral("pdfinfo"), {path}).split(u'\n'))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// The rows of pdffonts below its two heading lines.
inline QStringList pdfFonts(const QString& path)
{
    QStringList rows = runTool(QStringLiteral("pdffonts"), {path}).split(u'\n', Qt::SkipEmptyParts);
    return rows.mid(2);
}

// Normalised like pdfText, for comparing.
inline QString nfkc(const QString& text) { return text.normalized(QString::NormalizationForm_KC); }

} // namespace vc::test
