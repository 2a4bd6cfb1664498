#include "vormi/platform/CodePage.h"

#include <langinfo.h>

#include <clocale>

#include "posix/CodePageTable.h"
#include "posix/ConsoleCharset.h"

namespace vormi::platform {
namespace {

// The console's character set once chosen; code page 866 while there is none.
std::optional<posix::CharsetTable> ConsoleCharset;

}  // namespace

uint8_t AnsiToOemByte(uint8_t ansiByte) { return posix::kAnsiToOem[ansiByte]; }

std::string AnsiTextToOem(std::string_view ansiText) {
    std::string converted;
    converted.reserve(ansiText.size());
    for (const char c : ansiText) {
        const auto ansiByte = static_cast<uint8_t>(c);
        if (ConsoleCharset)
            converted += (*ConsoleCharset)[ansiByte];
        else
            converted.push_back(static_cast<char>(AnsiToOemByte(ansiByte)));
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
    ConsoleCharset = posix::CharsetTableFor(codeset);
}

}  // namespace vormi::platform
