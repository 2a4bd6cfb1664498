#include "platform/Clock.h"

#include <time.h>

namespace platform {

uint32_t MillisecondClock() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Keeping only the low 32 bits gives the wrapping count callers expect.
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

}  // namespace platform
