#pragma once
#include <QString>
#include <stdexcept>

namespace vc {

// A file the program needs is missing, unreadable or malformed. The message is
// Japanese and names the file, ready to be shown to the school's staff.
class DataError : public std::runtime_error {
public:
    explicit DataError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// "ファイル「name」…" - the common way every reader names a file in its messages.
QString fileMessage(const QString& path, const QString& problem);

} // namespace vc
