#include "platform/Services.h"

namespace markvane::platform {

Services& services() {
    static Services instance;
    return instance;
}

} // namespace markvane::platform
