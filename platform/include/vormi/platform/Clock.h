// A millisecond counter that wraps as an unsigned 32-bit value; only the
// difference of two readings means anything.
#pragma once

#include <cstdint>

namespace vormi::platform {

uint32_t MillisecondClock();

}  // namespace vormi::platform
