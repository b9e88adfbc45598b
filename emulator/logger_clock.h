#pragma once

#include <chrono>

namespace emu {

// The time that drives the emulated logger: its clock registers, its sample ticks for live mode
// and automatic logging. Seconds on any monotonic scale.
class LoggerClock {
public:
    virtual ~LoggerClock() = default;
    virtual double Seconds() const = 0;
};

// Tests move time by hand.
class ManualClock : public LoggerClock {
public:
    double Seconds() const override { return now; }
    void Set(double seconds) { now = seconds; }
    void Advance(double seconds) { now += seconds; }

private:
    double now = 0.0;
};

// The demo runs on the computer's clock.
class SteadyClock : public LoggerClock {
public:
    double Seconds() const override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

}  // namespace emu
