#include "vormi/platform/Clock.h"

#include <chrono>

namespace vormi::platform {

uint32_t MillisecondClock() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    // Keeping only the low 32 bits gives the wrapping count callers expect.
    return static_cast<uint32_t>(milliseconds);
}

}  // namespace vormi::platform
