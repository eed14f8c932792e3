#include "textcodec.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace vc {
namespace {

// Converts with one iconv descriptor; returns false and the input offset on the
// first byte sequence that cannot be converted.
bool convert(const char* to, const char* from, const QByteArray& in, QByteArray& out, qsizetype& failAt)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::vector<char> buffer(static_cast<size_t>(in.size()) * 4 + 16);
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            // EILSEQ: invalid sequence; EINVAL: truncated sequence at the end.
            ok = false;
            failAt = in.size() - static_cast<qsizetype>(inLeft);
            break;
        }
    }
    if (ok && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        ok = false;
    iconv_close(cd);
    if (ok)
        out = QByteArray(buffer.data(), static_cast<qsizetype>(outPtr - buffer.data()));
    return ok;
}

} // namespace

std::optional<QString> Cp932::decode(const QByteArray& bytes, qsizetype* errorOffset)
{
    QByteArray utf8;
    qsizetype failAt = 0;
    if (!convert("UTF-8", "CP932", bytes, utf8, failAt)) {
        if (errorOffset)
            *errorOffset = failAt;
        return std::nullopt;
    }
    return QString::fromUtf8(utf8);
}

std::optional<QByteArray> Cp932::encode(const QString& text, QString* badChar)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    qsizetype failAt = 0;
    if (!convert("CP932", "UTF-8", utf8, out, failAt)) {
        if (badChar) {
            // Report the whole character that starts at the failing UTF-8 offset.
            const QString rest = QString::fromUtf8(utf8.mid(failAt));
            *badChar = rest.isEmpty() ? QString() : (rest.at(0).isHighSurrogate() && rest.size() > 1 ? rest.left(2) : rest.left(1));
        }
        return std::nullopt;
    }
    return out;
}

} // namespace vc
