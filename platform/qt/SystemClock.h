#pragma once

#include "platform/Clock.h"

namespace markvane::platform {

// The system's monotonic clock; unaffected by changes of the wall-clock time.
class SystemClock final : public Clock {
public:
    double now() const override;
};

} // namespace markvane::platform
