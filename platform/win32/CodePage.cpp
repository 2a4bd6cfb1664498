#include "vormi/platform/CodePage.h"

#include <windows.h>

namespace vormi::platform {

// The system converts from the ANSI code page to the OEM one, whichever the
// installation uses (1251 and 866 on a Russian-language system).
std::string AnsiTextToOem(std::string_view ansiText) {
    std::string oem(ansiText.size(), '\0');
    // One call per 2^31 bytes at most: the length is a DWORD, and a text of
    // the console's is never near it.
    size_t done = 0;
    while (done < ansiText.size()) {
        const size_t part = ansiText.size() - done < 0x7FFFFFFF ? ansiText.size() - done : 0x7FFFFFFF;
        CharToOemBuffA(ansiText.data() + done, oem.data() + done, static_cast<DWORD>(part));
        done += part;
    }
    return oem;
}

uint8_t AnsiToOemByte(uint8_t ansiByte) {
    const char ansi = static_cast<char>(ansiByte);
    char oem = 0;
    CharToOemBuffA(&ansi, &oem, 1);
    return static_cast<uint8_t>(oem);
}

// The console shows the system's OEM code page, which CharToOemBuffA writes.
void ChooseConsoleCodePage() {}

}  // namespace vormi::platform
