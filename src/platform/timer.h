#pragma once
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

namespace vc {

class FakeClock;

// A repeating user-interface timer. Its interval applies from the next
// start(); start() on a running timer begins its countdown again.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// Makes timers that call `onTimeout` on the user-interface thread; injected
// so that timed screens are tested without waiting.
class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> create(std::function<void()> onTimeout) = 0;
};

// QTimer underneath.
class QtTimerFactory : public TimerFactory {
public:
    std::unique_ptr<Timer> create(std::function<void()> onTimeout) override;
};

// Test double: time moves only when advance() is called; the timers that fall
// due meanwhile fire in order of their due times, and a FakeClock, when
// given, moves along with them.
class FakeTimers : public TimerFactory {
public:
    explicit FakeTimers(FakeClock* clock = nullptr) : clock_(clock) {}
    ~FakeTimers() override;
    std::unique_ptr<Timer> create(std::function<void()> onTimeout) override;

    // Moves time on by `ms`, firing every timer that falls due.
    void advance(qint64 ms);
    // Moves time to the next firing and fires that one timer; false when no timer runs.
    bool fireNext();
    // Milliseconds until the next firing; -1 when no timer runs.
    qint64 untilNext() const;
    qint64 now() const { return now_; }

    class Fake;

private:
    friend class Fake;
    Fake* nextDue() const;
    void moveTo(qint64 when);

    FakeClock* clock_;
    qint64 now_ = 0;
    quint64 order_ = 0;
    std::vector<Fake*> timers_;
};

} // namespace vc
