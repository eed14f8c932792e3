#include "platform/sharecheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vc {
namespace {

const QString kLossText = QStringLiteral("複数のコンピューターで同時に練習すると、記録した成績が失われることがあります。");
const QString kSeeGuide = QStringLiteral("（docs/installation.md 参照）");

// mountinfo writes a blank, tab, line end and backslash in a path as "\ooo".
QByteArray unescapeOctal(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool octal = digits.size() == 3;
            for (char d : digits)
                octal = octal && d >= '0' && d <= '7';
            if (octal) {
                out.append(static_cast<char>(digits.toInt(nullptr, 8) & 0xFF));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QStringList optionList(const QByteArray& field)
{
    QStringList options;
    for (const QByteArray& option : field.split(','))
        if (!option.isEmpty())
            options.append(QString::fromUtf8(unescapeOctal(option)));
    return options;
}

bool isCifs(const QString& fsType) { return fsType == u"cifs" || fsType == u"smb3"; }
bool isNfs(const QString& fsType) { return fsType == u"nfs" || fsType == u"nfs4"; }

// The options of the mount that keep its locks on this computer.
QStringList localLockOptions(const MountEntry& mount)
{
    QStringList all = mount.mountOptions + mount.superOptions;
    QStringList found;
    for (const QString& option : all) {
        const bool local = isCifs(mount.fsType) ? option == u"nobrl"
                                                : option == u"nolock" || option == u"local_lock=all" || option == u"local_lock=posix";
        if (local && !found.contains(option))
            found.append(option);
    }
    return found;
}

QString optionsText(const MountEntry& mount)
{
    return (mount.mountOptions + mount.superOptions).join(u',');
}

} // namespace

std::vector<MountEntry> parseMountInfo(const QByteArray& text)
{
    std::vector<MountEntry> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(' ');
        // id parent major:minor root mount-point options [optional fields…] - type source super-options
        qsizetype separator = -1;
        for (qsizetype i = 6; i < f.size(); ++i) {
            if (f[i] == "-") {
                separator = i;
                break;
            }
        }
        if (separator < 0 || separator + 1 >= f.size() || !f[4].startsWith('/'))
            continue;
        MountEntry m;
        m.mountPoint = QFile::decodeName(unescapeOctal(f[4]));
        m.mountOptions = optionList(f[5]);
        m.fsType = QString::fromUtf8(unescapeOctal(f[separator + 1]));
        if (separator + 2 < f.size())
            m.source = QFile::decodeName(unescapeOctal(f[separator + 2]));
        if (separator + 3 < f.size())
            m.superOptions = optionList(f[separator + 3]);
        mounts.push_back(std::move(m));
    }
    return mounts;
}

const MountEntry* mountOf(const std::vector<MountEntry>& mounts, const QString& path)
{
    const MountEntry* best = nullptr;
    qsizetype bestLength = -1;
    for (const MountEntry& m : mounts) {
        QString point = m.mountPoint;
        while (point.size() > 1 && point.endsWith(u'/'))
            point.chop(1);
        const bool holds = point == u"/" || path == point || path.startsWith(point + u'/');
        // ">=": a later mount on the same point hides the earlier one.
        if (holds && point.size() >= bestLength) {
            best = &m;
            bestLength = point.size();
        }
    }
    return best;
}

bool isNetworkFileSystem(const QString& fsType) { return isCifs(fsType) || isNfs(fsType); }

ShareSafety judgeMount(const MountEntry& mount)
{
    ShareSafety result;
    result.mountPoint = mount.mountPoint;
    result.fsType = mount.fsType;
    result.options = optionsText(mount);
    if (!isNetworkFileSystem(mount.fsType))
        return result;
    const QStringList local = localLockOptions(mount);
    if (local.isEmpty())
        return result;
    result.safe = false;
    const QString fix = isCifs(mount.fsType)
        ? QStringLiteral("cifs のマウントオプションから nobrl を外して、マウントし直してください")
        : QStringLiteral("NFS を nolock や local_lock=all、local_lock=posix を付けずに、マウントし直してください");
    result.reason = QStringLiteral("データフォルダのあるマウント「%1」（%2、%3）では、ファイルのロックがこのコンピューターの中だけで働きます。")
                        .arg(mount.mountPoint, mount.fsType, local.join(u'、'))
        + kLossText + fix + kSeeGuide + u'。';
    return result;
}

LockProbe probeLockSharing(const QString& existingFile)
{
    const QByteArray path = QFile::encodeName(existingFile);
    if (path.isEmpty())
        return LockProbe::Inconclusive;
    // A probe never creates the shared file and never writes to it.
    const int holder = ::open(path.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (holder < 0)
        return LockProbe::Inconclusive;
    struct stat st {};
    if (::fstat(holder, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(holder);
        return LockProbe::Inconclusive;
    }
    // One byte beyond any data and clear of the writers' byte at 2^62, so a
    // writer on any computer is never held up by the probe.
    constexpr off_t kProbeByte = (off_t{1} << 62) + 4096;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kProbeByte;
    lock.l_len = 1;
    if (::fcntl(holder, F_OFD_SETLK, &lock) != 0) {
        ::close(holder);
        return LockProbe::Inconclusive;
    }
    LockProbe verdict = LockProbe::Inconclusive;
    const int asker = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (asker >= 0) {
        struct flock test {};
        test.l_type = F_WRLCK;
        test.l_whence = SEEK_SET;
        test.l_start = kProbeByte;
        test.l_len = 1;
        if (::fcntl(asker, F_OFD_GETLK, &test) == 0)
            verdict = test.l_type == F_UNLCK ? LockProbe::NotSeen : LockProbe::Seen;
        ::close(asker);
    }
    lock.l_type = F_UNLCK;
    ::fcntl(holder, F_OFD_SETLK, &lock);
    ::close(holder);
    return verdict;
}

ShareSafety checkShareSafety(const QString& folder, const QString& probeFile, const ShareCheckInputs& inputs)
{
    QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(QDir(folder).absolutePath());
    const std::vector<MountEntry> mounts = parseMountInfo(inputs.mountInfo);
    const MountEntry* mount = mountOf(mounts, path);
    if (!mount)
        return {};
    ShareSafety result = judgeMount(*mount);
    if (!result.safe || !isNetworkFileSystem(mount->fsType) || probeFile.isEmpty() || !inputs.probe)
        return result;
    if (inputs.probe(probeFile) == LockProbe::NotSeen) {
        result.safe = false;
        result.reason = QStringLiteral("データフォルダのあるマウント「%1」（%2）では、ファイルのロックが働いていません。").arg(mount->mountPoint, mount->fsType)
            + kLossText + QStringLiteral("ロックがサーバーに届くように、マウントし直してください") + kSeeGuide + u'。';
    }
    return result;
}

ShareSafety checkShareSafety(const QString& folder, const QString& probeFile)
{
    ShareCheckInputs inputs;
    QFile mountInfo(QStringLiteral("/proc/self/mountinfo"));
    // /proc files report no size: read until the end.
    if (mountInfo.open(QIODevice::ReadOnly))
        inputs.mountInfo = mountInfo.readAll();
    inputs.probe = probeLockSharing;
    return checkShareSafety(folder, probeFile, inputs);
}

} // namespace vc
