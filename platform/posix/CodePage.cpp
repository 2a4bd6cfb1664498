#include "vormi/platform/CodePage.h"

#include <langinfo.h>

#include <clocale>

#include "posix/CodePageTable.h"
#include "posix/ConsoleCharset.h"

namespace vormi::platform {
namespace {

// The console's character set: the Windows console's code page 866 until one
// is chosen, and for a set without the Russian letters.
constinit posix::CharsetTable ConsoleCharset = posix::kWindows866Table;

}  // namespace

uint8_t AnsiToOemByte(uint8_t ansiByte) { return posix::kAnsiToOem[ansiByte]; }

std::string AnsiTextToOem(std::string_view ansiText) {
    std::string converted;
    converted.reserve(ansiText.size());
    for (const char c : ansiText) {
        const posix::CharacterBytes& bytes = ConsoleCharset[static_cast<uint8_t>(c)];
        converted.append(bytes.Bytes, bytes.Size);
    }
    return converted;
}

void ChooseConsoleCodePage() {
    // The locale is asked only for its character set and then given back, so
    // nothing else in the program depends on it.
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current != nullptr ? current : "C";
    std::string codeset;
    if (std::setlocale(LC_CTYPE, "") != nullptr) codeset = nl_langinfo(CODESET);
    std::setlocale(LC_CTYPE, previous.c_str());
    ConsoleCharset = posix::CharsetTableFor(codeset).value_or(posix::kWindows866Table);
}

}  // namespace vormi::platform
