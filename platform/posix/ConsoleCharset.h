// The console's character set on Linux: the one the locale names, as the
// terminal shows it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "posix/CodePageTable.h"

namespace vormi::platform::posix {

// One character's bytes on the console: at most four (UTF-8 needs three for
// these characters, GB18030 four).
struct CharacterBytes {
    uint8_t Size = 0;
    char Bytes[4] = {};
};
// What each code page 1251 byte becomes on the console.
using CharsetTable = std::array<CharacterBytes, 256>;

namespace detail {

constexpr CharacterBytes Utf8Of(uint32_t codePoint) {
    CharacterBytes out;
    if (codePoint < 0x80) {
        out.Bytes[out.Size++] = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out.Bytes[out.Size++] = static_cast<char>(0xC0 | (codePoint >> 6));
        out.Bytes[out.Size++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out.Bytes[out.Size++] = static_cast<char>(0xE0 | (codePoint >> 12));
        out.Bytes[out.Size++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out.Bytes[out.Size++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

constexpr CharsetTable Utf8Table() {
    CharsetTable table;
    for (int byte = 0; byte < 256; ++byte)
        table[byte] = Utf8Of(byte < 0x80 ? static_cast<uint32_t>(byte) : kAnsiToUnicode[byte - 0x80]);
    return table;
}

constexpr CharsetTable Windows866Table() {
    CharsetTable table;
    for (int byte = 0; byte < 256; ++byte) table[byte] = {1, {static_cast<char>(kAnsiToOem[byte])}};
    return table;
}

}  // namespace detail

// The Windows console's bytes, and UTF-8; both built at compile time.
inline constexpr CharsetTable kWindows866Table = detail::Windows866Table();
inline constexpr CharsetTable kUtf8Table = detail::Utf8Table();

// The table for a character set named as nl_langinfo(CODESET) names it: UTF-8
// in any spelling, or a set that iconv knows, that holds every Russian letter
// and writes ASCII as ASCII. Nothing for any other set (plain ASCII, as the C
// and POSIX locales have, or a set iconv does not know): the console then
// gets code page 866.
std::optional<CharsetTable> CharsetTableFor(std::string_view codeset);

}  // namespace vormi::platform::posix
