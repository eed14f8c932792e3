#pragma once
#include <QtGlobal>
#include <random>
#include <vector>

namespace vc {

// Random numbers in [0, 1), injected so tests can script the drill's choices.
class Random {
public:
    virtual ~Random() = default;
    virtual double next() = 0;
    virtual void seed(quint32 value) = 0;
};

class SystemRandom : public Random {
public:
    double next() override { return dist_(engine_); }
    void seed(quint32 value) override { engine_.seed(value); }

private:
    std::mt19937 engine_{12345u};
    std::uniform_real_distribution<double> dist_{0.0, 1.0};
};

// Returns the scripted values in turn, then starts over.
class ScriptedRandom : public Random {
public:
    explicit ScriptedRandom(std::vector<double> values = {0.0}) : values_(std::move(values)) {}
    double next() override
    {
        const double v = values_.empty() ? 0.0 : values_[index_ % values_.size()];
        ++index_;
        return v;
    }
    void seed(quint32 value) override { seeds.push_back(value); }
    std::vector<quint32> seeds;

private:
    std::vector<double> values_;
    size_t index_ = 0;
};

} // namespace vc
