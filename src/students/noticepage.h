#pragma once
#include <QByteArray>
#include <QString>

namespace vc {

// The text of a local HTML page that comes with the course. Such pages are
// Shift-JIS, but the declaration may sit anywhere in the file or be missing:
// a declared charset wins, an undeclared page that is valid UTF-8 is read as
// UTF-8, everything else as Shift-JIS (undecodable bytes replaced).
QString decodeHtmlPage(const QByteArray& bytes);

} // namespace vc
