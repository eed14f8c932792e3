#include "durable.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace vc {
namespace {

std::function<void(const QString&)>& observer()
{
    static std::function<void(const QString&)> watcher;
    return watcher;
}

} // namespace

void syncFolderOf(const QString& filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    if (observer())
        observer()(folder);
}

void setFolderSyncObserver(std::function<void(const QString& folder)> watcher)
{
    observer() = std::move(watcher);
}

} // namespace vc
