// The share safety check: the mount table read as the kernel writes it, the
// lock options judged per file system, and the live lock probe on real files.
#include "common/testutil.h"
#include "platform/sharecheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace vc;

namespace {

// Every table starts with a local root, as every machine's does.
const QByteArray kRoot = "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard\n";

const QByteArray kCifsDefault =
    "45 28 0:50 / /mnt/juku rw,relatime shared:30 - cifs //server/juku rw,vers=3.1.1,cache=strict,username=sensei,"
    "uid=0,noforceuid,gid=0,noforcegid,addr=192.168.1.10,file_mode=0755,dir_mode=0755,soft,nounix,serverino,mapposix,"
    "rsize=4194304,wsize=4194304,bsize=1048576,echo_interval=60,actimeo=1,closetimeo=1\n";
const QByteArray kCifsNobrl =
    "45 28 0:50 / /mnt/juku rw,relatime shared:30 - cifs //server/juku rw,vers=3.1.1,cache=none,username=sensei,"
    "nobrl,soft,nounix,serverino,mapposix,rsize=4194304,wsize=4194304\n";
const QByteArray kNfs4Default =
    "46 28 0:51 / /mnt/juku rw,relatime - nfs4 server:/export/juku rw,vers=4.2,rsize=1048576,wsize=1048576,namlen=255,"
    "hard,proto=tcp,timeo=600,retrans=2,sec=sys,clientaddr=192.168.1.20,local_lock=none,addr=192.168.1.10\n";
const QByteArray kNfsNolock =
    "46 28 0:51 / /mnt/juku rw,relatime - nfs server:/export/juku rw,vers=3,rsize=1048576,wsize=1048576,namlen=255,"
    "hard,nolock,proto=tcp,timeo=600,retrans=2,sec=sys,mountaddr=192.168.1.10,mountvers=3,mountport=20048,"
    "mountproto=udp,local_lock=all,addr=192.168.1.10\n";

struct Case {
    const char* what;
    QByteArray table;  // after the root line
    QString folder;
    bool safe;
    QString mountPoint;
    QString fsType;
    bool probed;             // the live probe ran (a network mount with the right options)
    QStringList reasonHas;   // texts the reason must hold (when unsafe)
};

const QString kLoss = QStringLiteral("成績が失われることがあります");
const QString kGuide = QStringLiteral("docs/installation.md");
const QString kCifsFix = QStringLiteral("cifs のマウントオプションから nobrl を外して");
const QString kNfsFix = QStringLiteral("NFS を nolock や local_lock=all、local_lock=posix を付けずに");

TEST(ShareCheck, MountOptionsDecideForEachFileSystem)
{
    const QString data = QStringLiteral("/mnt/juku/data/単語");
    const Case cases[] = {
        {"cifs default", kCifsDefault, data, true, "/mnt/juku", "cifs", true, {}},
        {"cifs nobrl, cache=none", kCifsNobrl, data, false, "/mnt/juku", "cifs", false, {"nobrl", kCifsFix, kLoss, kGuide, "/mnt/juku"}},
        {"smb3 nobrl",
         "47 28 0:52 / /mnt/juku rw - smb3 //server/juku rw,vers=3.0,nobrl\n", data, false, "/mnt/juku", "smb3", false,
         {"nobrl", kCifsFix}},
        {"cifs with nobrl only as a user name",
         "47 28 0:52 / /mnt/juku rw - cifs //server/juku rw,username=nobrl,domain=nolock\n", data, true, "/mnt/juku", "cifs", true, {}},
        {"nfs4 default", kNfs4Default, data, true, "/mnt/juku", "nfs4", true, {}},
        {"nfs nolock", kNfsNolock, data, false, "/mnt/juku", "nfs", false, {"nolock", "local_lock=all", kNfsFix, kLoss, kGuide}},
        {"nfs local_lock=all",
         "46 28 0:51 / /mnt/juku rw - nfs server:/juku rw,vers=3,hard,local_lock=all,addr=10.0.0.1\n", data, false,
         "/mnt/juku", "nfs", false, {"local_lock=all", kNfsFix}},
        {"nfs4 local_lock=posix",
         "46 28 0:51 / /mnt/juku rw - nfs4 server:/juku rw,vers=4.1,local_lock=posix,addr=10.0.0.1\n", data, false,
         "/mnt/juku", "nfs4", false, {"local_lock=posix", kNfsFix}},
        {"nfs local_lock=none",
         "46 28 0:51 / /mnt/juku rw - nfs server:/juku rw,vers=3,hard,local_lock=none,addr=10.0.0.1\n", data, true,
         "/mnt/juku", "nfs", true, {}},
        {"nfs local_lock=flock (fcntl locks still reach the server)",
         "46 28 0:51 / /mnt/juku rw - nfs server:/juku rw,vers=3,local_lock=flock\n", data, true, "/mnt/juku", "nfs", true, {}},
        {"ext4 root", "", data, true, "/", "ext4", false, {}},
        {"tmpfs", "48 28 0:53 / /mnt/juku rw,nosuid - tmpfs tmpfs rw,size=1024k\n", data, true, "/mnt/juku", "tmpfs", false, {}},
        {"mount point with a blank",
         "45 28 0:50 / /mnt/juku\\040share rw - cifs //server/juku\\040share rw,vers=3.1.1,nobrl\n",
         QStringLiteral("/mnt/juku share/data"), false, "/mnt/juku share", "cifs", false, {"「/mnt/juku share」"}},
        {"a folder beside the blank mount point",
         "45 28 0:50 / /mnt/juku\\040share rw - cifs //server/juku rw,nobrl\n", QStringLiteral("/mnt/juku/data"), true, "/", "ext4",
         false, {}},
        {"a name that only begins like the mount point", kCifsNobrl, QStringLiteral("/mnt/jukubackup/data"), true, "/", "ext4", false, {}},
        {"the mount point itself", kCifsNobrl, QStringLiteral("/mnt/juku"), false, "/mnt/juku", "cifs", false, {"nobrl"}},
        {"nested: nfs4 inside an nfs nolock mount", kNfsNolock + "49 46 0:54 / /mnt/juku/data rw - nfs4 s:/data rw,vers=4.2,local_lock=none\n",
         data, true, "/mnt/juku/data", "nfs4", true, {}},
        {"nested: beside the inner mount", kNfsNolock + "49 46 0:54 / /mnt/juku/data rw - nfs4 s:/data rw,vers=4.2,local_lock=none\n",
         QStringLiteral("/mnt/juku/other"), false, "/mnt/juku", "nfs", false, {"nolock"}},
        {"nested: cifs nobrl inside a local disk", "50 28 0:55 / /srv/school/shared rw - cifs //s/shared rw,nobrl\n",
         QStringLiteral("/srv/school/shared/data/"), false, "/srv/school/shared", "cifs", false, {"nobrl"}},
        {"stacked: the later mount on the same point counts", kCifsNobrl + kCifsDefault, data, true, "/mnt/juku", "cifs", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int probes = 0;
        QString probedFile;
        ShareCheckInputs inputs{kRoot + c.table, [&](const QString& file) {
                                    ++probes;
                                    probedFile = file;
                                    return LockProbe::Seen;
                                }};
        const QString results = c.folder + QStringLiteral("/成績累積データ.dat");
        const ShareSafety s = checkShareSafety(c.folder, results, inputs);
        EXPECT_EQ(s.safe, c.safe);
        EXPECT_EQ(s.mountPoint, c.mountPoint);
        EXPECT_EQ(s.fsType, c.fsType);
        EXPECT_EQ(probes, c.probed ? 1 : 0);
        if (c.probed) {
            EXPECT_EQ(probedFile, results);
        }
        EXPECT_EQ(s.reason.isEmpty(), c.safe) << s.reason.toStdString();
        for (const QString& part : c.reasonHas)
            EXPECT_TRUE(s.reason.contains(part)) << part.toStdString() << "\n" << s.reason.toStdString();
    }
}

TEST(ShareCheck, LiveProbeOnlyMakesANetworkMountUnsafeWhenTheLockIsNotSeen)
{
    const QString folder = QStringLiteral("/mnt/juku/data");
    const struct {
        const char* what;
        QByteArray table;
        LockProbe probe;
        QString probeFile;
        bool safe;
    } cases[] = {
        {"cifs, lock not seen", kCifsDefault, LockProbe::NotSeen, "/mnt/juku/data/r.dat", false},
        {"nfs4, lock not seen", kNfs4Default, LockProbe::NotSeen, "/mnt/juku/data/r.dat", false},
        {"cifs, probe inconclusive", kCifsDefault, LockProbe::Inconclusive, "/mnt/juku/data/r.dat", true},
        {"nfs4, lock seen", kNfs4Default, LockProbe::Seen, "/mnt/juku/data/r.dat", true},
        {"no file to probe", kCifsDefault, LockProbe::NotSeen, QString(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ShareSafety s = checkShareSafety(folder, c.probeFile, {kRoot + c.table, [&](const QString&) { return c.probe; }});
        EXPECT_EQ(s.safe, c.safe);
        if (!c.safe) {
            EXPECT_TRUE(s.reason.contains(QStringLiteral("ファイルのロックが働いていません"))) << s.reason.toStdString();
            EXPECT_TRUE(s.reason.contains(kLoss));
            EXPECT_TRUE(s.reason.contains(kGuide));
        }
    }
    // Without a probe function the options alone decide.
    EXPECT_TRUE(checkShareSafety(folder, QStringLiteral("/mnt/juku/data/r.dat"), {kRoot + kCifsDefault, {}}).safe);
}

TEST(ShareCheck, MountInfoLinesAreDecodedAndBrokenLinesPassedOver)
{
    const QByteArray text =
        "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
        "garbage without the separator\n"
        "1 2 3\n"
        "60 28 0:60 / /mnt/a\\011b\\134c rw,nosuid shared:1 master:2 propagate_from:3 - cifs //s/x\\040y rw,nobrl\n"
        "61 28 0:61 / /mnt/\\346\\227\\245\\346\\234\\254 rw - nfs4 s:/j rw,vers=4.2\n"
        "62 28 0:62 / /mnt/short rw -\n"
        "63 28 0:63 / /mnt/nosuper rw - tmpfs\n";
    const std::vector<MountEntry> mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[0].mountPoint, QStringLiteral("/proc"));
    EXPECT_EQ(mounts[1].mountPoint, QStringLiteral("/mnt/a\tb\\c"));
    EXPECT_EQ(mounts[1].source, QStringLiteral("//s/x y"));
    EXPECT_EQ(mounts[1].fsType, QStringLiteral("cifs"));
    EXPECT_EQ(mounts[1].mountOptions, (QStringList{"rw", "nosuid"}));
    EXPECT_EQ(mounts[1].superOptions, (QStringList{"rw", "nobrl"}));
    EXPECT_EQ(mounts[2].mountPoint, QStringLiteral("/mnt/日本"));
    EXPECT_EQ(mounts[3].mountPoint, QStringLiteral("/mnt/nosuper"));
    EXPECT_TRUE(mounts[3].superOptions.isEmpty());

    const ShareSafety s = checkShareSafety(QStringLiteral("/mnt/a\tb\\c/data"), QString(), {text, {}});
    EXPECT_FALSE(s.safe);
    EXPECT_EQ(s.options, QStringLiteral("rw,nosuid,rw,nobrl"));
    // Nothing readable, or nothing that holds the folder: nothing to warn about.
    EXPECT_TRUE(checkShareSafety(QStringLiteral("/mnt/juku"), QString(), {QByteArray(), {}}).safe);
    EXPECT_TRUE(checkShareSafety(QStringLiteral("/mnt/juku"), QString(), {"\n\n\\\\\\ - -\n", {}}).mountPoint.isEmpty());
}

// A temporary results file to probe.
class LockProbeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("成績累積データ.dat"));
        test::writeBytes(path, QByteArray(88, 'r'));
    }
    // An open-file-description lock on the given bytes through a descriptor of its own.
    int lockBytes(off_t start, off_t length)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        EXPECT_GE(fd, 0);
        struct flock l {};
        l.l_type = F_WRLCK;
        l.l_whence = SEEK_SET;
        l.l_start = start;
        l.l_len = length;
        if (::fcntl(fd, F_OFD_SETLK, &l) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(LockProbeTest, ALocalFileSeesItsLockAndIsLeftAsItWas)
{
    const QDateTime modified = QFileInfo(path).lastModified();
    EXPECT_EQ(probeLockSharing(path), LockProbe::Seen);
    EXPECT_EQ(test::readBytes(path), QByteArray(88, 'r'));
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    // The probe let go of its byte.
    const int fd = lockBytes((off_t{1} << 62) + 4096, 1);
    EXPECT_GE(fd, 0);
    if (fd >= 0)
        ::close(fd);
}

TEST_F(LockProbeTest, AWritersByteIsNeitherTouchedNorInTheWay)
{
    // A writer holds the byte at 2^62: the probe still works beside it.
    const int writer = lockBytes(off_t{1} << 62, 1);
    ASSERT_GE(writer, 0);
    EXPECT_EQ(probeLockSharing(path), LockProbe::Seen);
    ::close(writer);
    // A whole-file lock of another program: the probe cannot take its byte,
    // which says nothing about the mount.
    const int whole = lockBytes(0, 0);
    ASSERT_GE(whole, 0);
    EXPECT_EQ(probeLockSharing(path), LockProbe::Inconclusive);
    ::close(whole);
}

TEST_F(LockProbeTest, NoFileToProbeIsInconclusiveAndNothingIsCreated)
{
    const QString missing = dir.filePath(QStringLiteral("ない.dat"));
    EXPECT_EQ(probeLockSharing(missing), LockProbe::Inconclusive);
    EXPECT_FALSE(QFileInfo::exists(missing));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.dat")));
    EXPECT_EQ(probeLockSharing(dir.filePath(QStringLiteral("folder.dat"))), LockProbe::Inconclusive);
    EXPECT_EQ(probeLockSharing(QString()), LockProbe::Inconclusive);
}

TEST_F(LockProbeTest, ThisComputersOwnMountTableFindsTheFolder)
{
    const ShareSafety s = checkShareSafety(dir.path(), path);
    const QString canonical = QFileInfo(dir.path()).canonicalFilePath();
    ASSERT_FALSE(s.mountPoint.isEmpty());
    EXPECT_TRUE(s.mountPoint == u"/" || canonical == s.mountPoint || canonical.startsWith(s.mountPoint + u'/'))
        << s.mountPoint.toStdString();
    EXPECT_FALSE(s.fsType.isEmpty());
    // The test folders lie on this computer's own disks.
    EXPECT_TRUE(s.safe) << s.reason.toStdString();
    EXPECT_EQ(test::readBytes(path), QByteArray(88, 'r'));
}

} // namespace
