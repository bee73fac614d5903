#pragma once

#include "platform/Clock.h"

namespace markvane::testing {

// A clock that only moves when the test says so.
class FakeClock : public platform::Clock {
public:
    explicit FakeClock(double start = 1000) : m_now(start) {}
    double now() const override { return m_now; }
    void advance(double seconds) { m_now += seconds; }
    void set(double seconds) { m_now = seconds; }

private:
    double m_now;
};

} // namespace markvane::testing
