#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace vc {

// Shift-JIS (code page 932) is the encoding of every file the program reads or
// writes. One codec (glibc iconv "CP932") is used in both directions so that a
// file written here reads back identically, here and on the school's other computers.
struct Cp932 {
    // nullopt when the bytes are not valid CP932; errorOffset gets the bad byte's offset.
    static std::optional<QString> decode(const QByteArray& bytes, qsizetype* errorOffset = nullptr);
    // nullopt when the text holds a character CP932 cannot represent;
    // badChar gets that character.
    static std::optional<QByteArray> encode(const QString& text, QString* badChar = nullptr);
};

} // namespace vc
