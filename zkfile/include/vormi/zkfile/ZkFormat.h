// The bytes of the compressed file: a 55-byte header, an information block,
// the coded stream and a 4-byte end marker. Integers are little-endian, read and
// written through vormi/codec/ByteOrder.h, never through a cast of the file's bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vormi/codec/ByteOrder.h"
#include "vormi/zkfile/ZkFile.h"

namespace vormi {

inline constexpr uint32_t ZkHeaderSize = 55;
inline constexpr uint32_t ZkSignatureSize = 49;
inline constexpr uint32_t ZkVersionOffset = 49;
inline constexpr uint32_t ZkLimitOffset = 51;
inline constexpr uint16_t ZkFormatVersion = 1;
// Signature, version 1 and a zero halving limit, which the writer replaces.
extern const std::array<uint8_t, ZkHeaderSize> ZkHeaderTemplate;

// Information block: BlockLength (2), Attributes (4), Date (4), Size (4),
// NameLength (1), the name. BlockLength counts the bytes after itself.
inline constexpr uint32_t ZkBlockLengthSize = 2;
inline constexpr uint32_t ZkInfoFixedSize = 15;   // the block up to the name
inline constexpr uint32_t ZkMinBlockLength = 13;  // BlockLength of an empty name
inline constexpr uint32_t ZkNameLengthOffset = 14;

inline constexpr uint32_t ZkEndMarker = 0xABCD0123;
inline constexpr uint32_t ZkEndMarkerSize = 4;

// The information block as parsed; Name points into the bytes it came from.
struct ZkInfoBlock {
    uint16_t BlockLength;
    uint32_t Attributes;
    uint32_t Date;
    uint32_t Size;
    uint8_t NameLength;
    const uint8_t* Name;
};

// Writes the block for info and name (at most 255 bytes) at out; returns its
// length, name length + 15.
uint32_t StoreInfoBlock(uint8_t* out, const FileInfo& info, std::string_view name);
// Reads the fields of a block whose BlockLength bytes follow the length field
// at block. False when the name would run past the block.
bool ParseInfoBlock(const uint8_t* block, ZkInfoBlock& parsed);

// The name the information block stores for sourceName: the name without its
// folder, cut to its first 255 bytes.
std::string_view StoredName(std::string_view sourceName);

}  // namespace vormi
