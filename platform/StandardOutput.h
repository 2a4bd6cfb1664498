// The one system call the shared console output needs from each platform.
#pragma once

#include <cstddef>

namespace vormi::platform {

// Writes some of the bytes to standard output and returns how many; 0 when
// nothing can be written (no standard output, a closed or failing one).
size_t WriteStandardOutput(const char* bytes, size_t count);

}  // namespace vormi::platform
