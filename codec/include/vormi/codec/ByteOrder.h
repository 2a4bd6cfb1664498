// Multi-byte integers of the compressed file and its coded stream are little-endian whatever the
// processor: the first byte is the lowest. The one place where bytes turn into words and back, for
// the codec's stream and for the file layer's header and information block.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace vormi {

// On a little-endian processor the copy is the word (one load or store); elsewhere the bytes are
// put together one by one.
inline constexpr bool kNativeLittleEndian = std::endian::native == std::endian::little;

template <typename Word>
inline Word LoadLe(const uint8_t* bytes) {
    Word value;
    if constexpr (kNativeLittleEndian) {
        std::memcpy(&value, bytes, sizeof value);
    } else {
        value = 0;
        for (uint32_t i = 0; i < sizeof value; ++i) value |= static_cast<Word>(static_cast<Word>(bytes[i]) << (8 * i));
    }
    return value;
}

template <typename Word>
inline void StoreLe(uint8_t* bytes, Word value) {
    if constexpr (kNativeLittleEndian) {
        std::memcpy(bytes, &value, sizeof value);
    } else {
        for (uint32_t i = 0; i < sizeof value; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

inline uint16_t LoadLe16(const uint8_t* bytes) { return LoadLe<uint16_t>(bytes); }
inline uint32_t LoadLe32(const uint8_t* bytes) { return LoadLe<uint32_t>(bytes); }
inline uint64_t LoadLe64(const uint8_t* bytes) { return LoadLe<uint64_t>(bytes); }
inline void StoreLe16(uint8_t* bytes, uint16_t value) { StoreLe(bytes, value); }
inline void StoreLe32(uint8_t* bytes, uint32_t value) { StoreLe(bytes, value); }
inline void StoreLe64(uint8_t* bytes, uint64_t value) { StoreLe(bytes, value); }

}  // namespace vormi
