#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vc {

// Whether several computers can share a folder: the results file's writers
// keep apart only through byte-range locks, and a network mount whose locks
// stay on this computer lets two computers append over each other.
struct ShareSafety {
    bool safe = true;
    QString reason;      // empty when safe; for the teacher, in Japanese
    QString mountPoint;  // of the mount that holds the folder (empty when unknown)
    QString fsType;
    QString options;     // the mount's own options, then the file system's
};

// One line of /proc/self/mountinfo.
struct MountEntry {
    QString mountPoint;
    QString fsType;
    QString source;
    QStringList mountOptions;  // per mount ("rw,relatime")
    QStringList superOptions;  // per file system ("vers=3.1.1,nobrl,…")
};

// The lines of a mountinfo text, in its order; lines that do not have its
// layout are passed over. Mount points and sources are decoded ("\040" is a
// blank).
std::vector<MountEntry> parseMountInfo(const QByteArray& text);

// The mount holding `path` (absolute, cleaned): the one whose mount point is
// the longest leading run of whole path components; of equal ones the last
// listed, which is the one mounted on top. Null when none matches.
const MountEntry* mountOf(const std::vector<MountEntry>& mounts, const QString& path);

// Judged by the mount's lock options alone: cifs/smb3 with "nobrl", NFS with
// "nolock", "local_lock=all" or "local_lock=posix" keep their locks on this
// computer. Other file systems are safe as far as their options tell.
ShareSafety judgeMount(const MountEntry& mount);

// Network file systems, where a lock must reach the server to count.
bool isNetworkFileSystem(const QString& fsType);

enum class LockProbe { Seen, NotSeen, Inconclusive };

// Takes an open-file-description write lock on one byte far beyond the data
// (2^62 + 4096, clear of the writers' byte at 2^62) through one descriptor of
// an existing file and asks through a second whether it is seen. The file is
// opened, never created, and nothing is written. A missing file, a lock
// already taken by someone else and every error give Inconclusive.
LockProbe probeLockSharing(const QString& existingFile);

// What the check reads, so that tests can hand in their own.
struct ShareCheckInputs {
    QByteArray mountInfo;                                // /proc/self/mountinfo's text
    std::function<LockProbe(const QString&)> probe;      // probeLockSharing; none: no live check
};

// The folder's mount judged by its options; on a network mount whose options
// are right, the live probe on `probeFile` (when given) as well: a lock the
// second descriptor does not see is unsafe; an inconclusive probe changes
// nothing. A folder whose mount is unknown counts as safe.
ShareSafety checkShareSafety(const QString& folder, const QString& probeFile, const ShareCheckInputs& inputs);
// The same on this computer's own mount table and files.
ShareSafety checkShareSafety(const QString& folder, const QString& probeFile);

} // namespace vc
