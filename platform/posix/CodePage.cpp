#include "vormi/platform/CodePage.h"

#include "posix/CodePageTable.h"

namespace vormi::platform {

uint8_t AnsiToOemByte(uint8_t ansiByte) { return posix::kAnsiToOem[ansiByte]; }

std::string AnsiTextToOem(std::string_view ansiText) {
    std::string oem(ansiText.size(), '\0');
    for (size_t i = 0; i < ansiText.size(); ++i)
        oem[i] = static_cast<char>(AnsiToOemByte(static_cast<uint8_t>(ansiText[i])));
    return oem;
}

}  // namespace vormi::platform
