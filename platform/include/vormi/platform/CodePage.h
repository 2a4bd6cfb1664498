// Conversion of code page 1251 message texts to the console's code page.
//
// On Windows that is the system's OEM code page (866 on a Russian-language
// system), one byte per character. On Linux it is the character set of the
// locale, as the terminal shows it: UTF-8, or an 8-bit set that holds the
// Russian letters (KOI8-R, ...); code page 866, the Windows console's bytes,
// for any other set (the C locale's ASCII) and before ChooseConsoleCodePage.
// A text's length in bytes may therefore change; its length in characters
// does not.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vormi::platform {

// (Not "AnsiToOem": Windows headers define that name as a macro.)
std::string AnsiTextToOem(std::string_view ansiText);
// One character in the Windows console's code page (866 on Linux).
uint8_t AnsiToOemByte(uint8_t ansiByte);
// Once at start-up: on Linux reads the locale's character set
// (setlocale(LC_CTYPE, "") and nl_langinfo(CODESET)) for AnsiTextToOem; on
// Windows nothing, the system converts.
void ChooseConsoleCodePage();

}  // namespace vormi::platform
