// Small services of the comparison and the timed runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vormi::luMiscFun {

// Code page 1251 text in the console's code page, byte for byte.
std::string ToOem(std::string_view ansiText);

// Size of the named file (opened for reading, sharing reading and writing)
// as a signed 32-bit number; -1 when it cannot be opened.
int32_t FileSizeByName(const std::string& name);

// Spins until the millisecond clock moves on and returns the new reading, so
// a timed interval starts right at a tick.
uint32_t WaitNextTick();

}  // namespace vormi::luMiscFun
