// The byte-by-byte comparison that ends a pack-unpack-compare command.
#pragma once

#include <cstdint>
#include <string>

namespace vormi::PrgFuncs {

// Reads both files in blocks of bufferSize bytes and reports the first
// difference on the console. True when they have the same length and bytes.
bool CompareFiles(const std::string& firstName, const std::string& secondName, int32_t bufferSize);

}  // namespace vormi::PrgFuncs
