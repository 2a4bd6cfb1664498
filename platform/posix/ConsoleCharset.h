// The console's character set on Linux: the one the locale names, as the
// terminal shows it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vormi::platform::posix {

// What each code page 1251 byte becomes on the console.
using CharsetTable = std::array<std::string, 256>;

// The table for a character set named as nl_langinfo(CODESET) names it: UTF-8
// in any spelling, or a set that iconv knows, that holds every Russian letter
// and writes ASCII as ASCII. Nothing for any other set (plain ASCII, as the C
// and POSIX locales have, or a set iconv does not know): the console then
// gets code page 866.
std::optional<CharsetTable> CharsetTableFor(std::string_view codeset);

}  // namespace vormi::platform::posix
