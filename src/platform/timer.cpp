#include "platform/timer.h"

#include "platform/clock.h"

#include <QTimer>
#include <algorithm>

namespace vc {
namespace {

class QtTimer : public Timer {
public:
    explicit QtTimer(std::function<void()> onTimeout)
    {
        QObject::connect(&timer_, &QTimer::timeout, [handler = std::move(onTimeout)] { handler(); });
    }
    void setInterval(int ms) override { interval_ = std::max(0, ms); }
    int interval() const override { return interval_; }
    void start() override { timer_.start(interval_); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    int interval_ = 0;
};

} // namespace

std::unique_ptr<Timer> QtTimerFactory::create(std::function<void()> onTimeout)
{
    return std::make_unique<QtTimer>(std::move(onTimeout));
}

class FakeTimers::Fake : public Timer {
public:
    Fake(FakeTimers& owner, std::function<void()> onTimeout) : owner_(&owner), onTimeout_(std::move(onTimeout))
    {
        owner.timers_.push_back(this);
    }
    ~Fake() override
    {
        if (owner_)
            std::erase(owner_->timers_, this);
    }
    void setInterval(int ms) override { interval_ = std::max(0, ms); }
    int interval() const override { return interval_; }
    void start() override
    {
        active_ = true;
        due_ = owner_ ? owner_->now_ + interval_ : 0;
        order_ = owner_ ? ++owner_->order_ : 0;
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }

    FakeTimers* owner_;
    std::function<void()> onTimeout_;
    int interval_ = 0;
    bool active_ = false;
    qint64 due_ = 0;
    quint64 order_ = 0;
};

FakeTimers::~FakeTimers()
{
    for (Fake* t : timers_)
        t->owner_ = nullptr;
}

std::unique_ptr<Timer> FakeTimers::create(std::function<void()> onTimeout)
{
    return std::make_unique<Fake>(*this, std::move(onTimeout));
}

FakeTimers::Fake* FakeTimers::nextDue() const
{
    Fake* next = nullptr;
    for (Fake* t : timers_)
        if (t->active_ && (!next || t->due_ < next->due_ || (t->due_ == next->due_ && t->order_ < next->order_)))
            next = t;
    return next;
}

qint64 FakeTimers::untilNext() const
{
    const Fake* next = nextDue();
    return next ? std::max<qint64>(0, next->due_ - now_) : -1;
}

void FakeTimers::moveTo(qint64 when)
{
    if (when <= now_)
        return;
    if (clock_)
        clock_->advanceMs(when - now_);
    now_ = when;
}

bool FakeTimers::fireNext()
{
    Fake* next = nextDue();
    if (!next)
        return false;
    moveTo(next->due_);
    // A repeating timer comes due again one interval later unless its handler stops it.
    next->due_ = now_ + std::max(1, next->interval_);
    next->order_ = ++order_;
    next->onTimeout_();
    return true;
}

void FakeTimers::advance(qint64 ms)
{
    const qint64 end = now_ + ms;
    for (Fake* next = nextDue(); next && next->due_ <= end; next = nextDue())
        fireNext();
    moveTo(end);
}

} // namespace vc
