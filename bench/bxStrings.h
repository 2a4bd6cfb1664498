// Byte-block routines.
#pragma once

#include <cstdint>

namespace vormi::bxStrings {

// 1-based index of the first byte where the blocks differ, 0 when all count
// bytes are equal.
uint32_t FirstMismatch(const uint8_t* first, const uint8_t* second, uint32_t count);

// Copies count bytes; the blocks may overlap.
void MoveBytes(const uint8_t* source, uint8_t* target, uint32_t count);

// True when the two blocks hold the same count bytes.
bool SameBytes(const uint8_t* first, const uint8_t* second, uint32_t count);

}  // namespace vormi::bxStrings
