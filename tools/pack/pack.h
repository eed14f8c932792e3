#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace vc::pack {

// One course item as the author writes it: fields (unit, prompt, answer, …).
using Row = QStringList;

// Parses the author's CSV text: one item per line, fields separated by commas,
// a field may be in double quotes ("" inside stands for one quote). Blank lines
// are skipped. Throws std::runtime_error with a message naming the line.
std::vector<Row> parseCsv(const QString& text);

// Builds the scrambled table file's bytes (CP932, CR LF). Throws
// std::runtime_error for more than 1000 rows, more than 100 fields, a field
// holding a comma or the end marker, or a character CP932 cannot represent.
QByteArray packRows(const std::vector<Row>& rows);

// Reads the scrambled file's bytes back into the plain lines before the end marker.
QStringList unpackBytes(const QByteArray& bytes);

} // namespace vc::pack
