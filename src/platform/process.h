#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QLockFile;

namespace vc {

// Tells whether another instance of this same program is already running.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    virtual bool anotherInstanceRunning() = 0;
};

// One lock file per executable path in the user's runtime folder; the lock is
// held for the life of the process and vanishes with it, even after a crash.
class LockFileInstanceGuard : public InstanceGuard {
public:
    explicit LockFileInstanceGuard(const QString& executablePath);
    ~LockFileInstanceGuard() override;
    bool anotherInstanceRunning() override;
    QString lockPath() const { return lockPath_; }

private:
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    bool owned_ = false;
};

// Starts another program without waiting for it.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};

class ProcessLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override;
};

class RecordingLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override
    {
        started.push_back({program, arguments});
        return succeed;
    }
    struct Call { QString program; QStringList arguments; };
    std::vector<Call> started;
    bool succeed = true;
};

class FakeInstanceGuard : public InstanceGuard {
public:
    bool anotherInstanceRunning() override { return another; }
    bool another = false;
};

} // namespace vc
