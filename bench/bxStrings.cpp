#include "bxStrings.h"

#include <cstring>

namespace vormi::bxStrings {

uint32_t FirstMismatch(const uint8_t* first, const uint8_t* second, uint32_t count) {
    // Whole 8-byte words are compared first; the byte loop then finds the
    // differing byte within the first unequal word, or checks the tail.
    uint32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, first + i, 8);
        std::memcpy(&b, second + i, 8);
        if (a != b) break;
    }
    for (; i < count; ++i)
        if (first[i] != second[i]) return i + 1;
    return 0;
}

void MoveBytes(const uint8_t* source, uint8_t* target, uint32_t count) {
    if (count != 0) std::memmove(target, source, count);
}

bool SameBytes(const uint8_t* first, const uint8_t* second, uint32_t count) {
    return count == 0 || std::memcmp(first, second, count) == 0;
}

}  // namespace vormi::bxStrings
