#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Lets test failures print Japanese texts readably.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace vc::test {

// Writes lines as CP932 with CR LF (fails the test on an unencodable character).
void writeCp932(const QString& path, const QStringList& lines);
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);
// Hex dump "81 60 41" for readable byte comparisons.
QString hex(const QByteArray& bytes);
QByteArray fromHex(const char* spacedHex);

} // namespace vc::test
