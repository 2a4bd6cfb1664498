// Small services of the timed runs: the size of a file by name and the wait for
// the clock's next tick.
#pragma once

#include <cstdint>
#include <string>

namespace vormi::luMiscFun {

// Size of the named file (opened for reading, sharing reading and writing)
// as a signed 32-bit number; -1 when it cannot be opened.
int32_t FileSizeByName(const std::string& name);

// Spins until the millisecond clock moves on and returns the new reading, so
// a timed interval starts right at a tick.
uint32_t WaitNextTick();

}  // namespace vormi::luMiscFun
