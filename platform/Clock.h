#pragma once

namespace markvane::platform {

// Seconds of a monotonic clock. Animation and expiry times use it; it never
// goes backwards and is never compared with wall-clock time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

} // namespace markvane::platform
