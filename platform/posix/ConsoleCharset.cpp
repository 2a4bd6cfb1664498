#include "posix/ConsoleCharset.h"

#include <iconv.h>

#include "posix/CodePageTable.h"

namespace vormi::platform::posix {
namespace {

// At most what one character takes in the sets taken here (UTF-8 needs three
// for these characters, GB18030 four); a set that writes more for one, with
// shift sequences, is not one whose conversions may simply be joined.
constexpr size_t kMostBytesPerCharacter = 4;

bool IsUtf8(std::string_view codeset) {
    std::string folded;
    for (const char c : codeset)
        if (c != '-' && c != '_') folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return folded == "utf8";
}

bool IsRussianLetter(uint8_t ansiByte) { return ansiByte >= 0xC0 || ansiByte == 0xA8 || ansiByte == 0xB8; }

std::string Utf8Of(uint8_t ansiByte) {
    const uint32_t codePoint = ansiByte < 0x80 ? ansiByte : kAnsiToUnicode[ansiByte - 0x80];
    std::string utf8;
    if (codePoint < 0x80) {
        utf8.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        utf8.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        utf8.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        utf8.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
    return utf8;
}

// One character converted alone, from the initial state back to it; nothing
// when the set lacks it or converts it only approximately.
std::optional<std::string> ConvertCharacter(iconv_t conversion, std::string utf8) {
    char out[kMostBytesPerCharacter];
    char* in = utf8.data();
    size_t inLeft = utf8.size();
    char* put = out;
    size_t room = sizeof out;
    iconv(conversion, nullptr, nullptr, nullptr, nullptr);
    if (iconv(conversion, &in, &inLeft, &put, &room) != 0 || inLeft != 0) return std::nullopt;
    const size_t converted = sizeof out - room;
    if (iconv(conversion, nullptr, nullptr, &put, &room) != 0 || sizeof out - room != converted) return std::nullopt;
    return std::string(out, converted);
}

// A character the set lacks (no message text has one: the catalogues hold
// ASCII and Russian letters) gets the Windows console's best fit where that
// is ASCII.
std::string Substitute(uint8_t ansiByte) {
    const uint8_t bestFit = kAnsiToOem[ansiByte];
    return std::string(1, bestFit < 0x80 ? static_cast<char>(bestFit) : '?');
}

}  // namespace

std::optional<CharsetTable> CharsetTableFor(std::string_view codeset) {
    CharsetTable table;
    if (IsUtf8(codeset)) {
        for (int byte = 0; byte < 256; ++byte) table[byte] = Utf8Of(static_cast<uint8_t>(byte));
        return table;
    }
    const iconv_t conversion = iconv_open(std::string(codeset).c_str(), "UTF-8");
    if (conversion == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    bool usable = true;
    for (int byte = 0; byte < 256 && usable; ++byte) {
        const auto ansiByte = static_cast<uint8_t>(byte);
        const std::optional<std::string> converted = ConvertCharacter(conversion, Utf8Of(ansiByte));
        // Names and numbers go out unconverted, so ASCII must stay ASCII.
        if (ansiByte < 0x80)
            usable = converted == std::string(1, static_cast<char>(ansiByte));
        else if (IsRussianLetter(ansiByte))
            usable = converted.has_value();
        table[byte] = converted ? *converted : Substitute(ansiByte);
    }
    iconv_close(conversion);
    if (!usable) return std::nullopt;
    return table;
}

}  // namespace vormi::platform::posix
