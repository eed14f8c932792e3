#include "process.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>

namespace vc {

LockFileInstanceGuard::LockFileInstanceGuard(const QString& executablePath)
{
    const QString canonical = QFileInfo(executablePath).canonicalFilePath();
    const QByteArray key = QCryptographicHash::hash((canonical.isEmpty() ? executablePath : canonical).toUtf8(),
                                                    QCryptographicHash::Sha1).toHex().left(16);
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    lockPath_ = dir + QStringLiteral("/vocarimo-") + QString::fromLatin1(key) + QStringLiteral(".lock");
    lock_ = std::make_unique<QLockFile>(lockPath_);
    lock_->setStaleLockTime(0); // a lock is stale only when its process is gone
}

LockFileInstanceGuard::~LockFileInstanceGuard()
{
    if (owned_)
        lock_->unlock();
}

bool LockFileInstanceGuard::anotherInstanceRunning()
{
    if (owned_)
        return false;
    owned_ = lock_->tryLock(0);
    if (!owned_ && lock_->error() == QLockFile::LockFailedError)
        return true;
    // A lock that cannot be made at all (no writable folder) must not keep the school out.
    return false;
}

bool ProcessLauncher::start(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments, QFileInfo(program).absolutePath());
}

} // namespace vc
