#pragma once
#include <QString>
#include <QStringList>

namespace vc {

// Whole text files in CP932. Readers throw DataError naming the file.
QString readTextFile(const QString& path);
// The file's lines: CR LF (or a lone LF) ends a line; a last line without an end counts.
QStringList readTextLines(const QString& path);
QStringList splitLines(const QString& text);

// Writers encode the whole text first, so an unencodable character leaves the
// file untouched (DataError). Lines are joined and ended with CR LF.
void writeTextLines(const QString& path, const QStringList& lines);
void appendTextLine(const QString& path, const QString& line);

QString fileNameOf(const QString& path);

} // namespace vc
