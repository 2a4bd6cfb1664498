// The stream's multi-byte words are little-endian whatever the processor: the first stream byte is
// the word's lowest. The one place where the codec turns bytes into words and back. Private to the
// codec.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace vormi::huf_detail {

// On a little-endian processor the copy is the word (one load or store); elsewhere the bytes are
// put together one by one.
inline constexpr bool kNativeLittleEndian = std::endian::native == std::endian::little;

template <typename Word>
inline Word LoadLE(const uint8_t* bytes) {
    Word value;
    if constexpr (kNativeLittleEndian) {
        std::memcpy(&value, bytes, sizeof value);
    } else {
        value = 0;
        for (uint32_t i = 0; i < sizeof value; ++i) value |= static_cast<Word>(bytes[i]) << (8 * i);
    }
    return value;
}

inline uint32_t LoadLE32(const uint8_t* bytes) { return LoadLE<uint32_t>(bytes); }
inline uint64_t LoadLE64(const uint8_t* bytes) { return LoadLE<uint64_t>(bytes); }

inline void StoreLE64(uint8_t* bytes, uint64_t value) {
    if constexpr (kNativeLittleEndian) {
        std::memcpy(bytes, &value, sizeof value);
    } else {
        for (uint32_t i = 0; i < sizeof value; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace vormi::huf_detail
