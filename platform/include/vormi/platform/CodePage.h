// Conversion of code page 1251 text to the console's OEM code page (866 on a
// Russian-language system), one byte per character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vormi::platform {

// (Not "AnsiToOem": Windows headers define that name as a macro.)
std::string AnsiTextToOem(std::string_view ansiText);
uint8_t AnsiToOemByte(uint8_t ansiByte);

}  // namespace vormi::platform
