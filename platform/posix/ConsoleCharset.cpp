#include "posix/ConsoleCharset.h"

#include <iconv.h>

#include <string>

namespace vormi::platform::posix {
namespace {

// The name in lower case without '-' and '_': "UTF-8", "utf8" and "UTF_8" alike.
std::string Folded(std::string_view codeset) {
    std::string folded;
    for (const char c : codeset)
        if (c != '-' && c != '_') folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return folded;
}

// Plain ASCII, the C and POSIX locales' set, is known without asking iconv,
// whose set-up costs more than the rest of a short run's start (160000
// instructions, callgrind of vormi c on an empty file under LC_ALL=C).
bool IsAscii(const std::string& folded) {
    return folded.empty() || folded == "ansix3.41968" || folded == "ascii" || folded == "usascii";
}

bool IsRussianLetter(uint8_t ansiByte) { return ansiByte >= 0xC0 || ansiByte == 0xA8 || ansiByte == 0xB8; }

// One character converted alone, from the initial state back to it; nothing
// when the set lacks it, converts it only approximately, or needs more bytes
// than a table entry holds (a set with shift sequences, whose conversions
// may not simply be joined).
std::optional<CharacterBytes> ConvertCharacter(iconv_t conversion, CharacterBytes utf8) {
    CharacterBytes out;
    char* in = utf8.Bytes;
    size_t inLeft = utf8.Size;
    char* put = out.Bytes;
    size_t room = sizeof out.Bytes;
    iconv(conversion, nullptr, nullptr, nullptr, nullptr);
    if (iconv(conversion, &in, &inLeft, &put, &room) != 0 || inLeft != 0) return std::nullopt;
    const size_t converted = sizeof out.Bytes - room;
    if (iconv(conversion, nullptr, nullptr, &put, &room) != 0 || sizeof out.Bytes - room != converted)
        return std::nullopt;
    out.Size = static_cast<uint8_t>(converted);
    return out;
}

// A character the set lacks (no message text has one: the catalogues hold
// ASCII and Russian letters) gets the Windows console's best fit where that
// is ASCII.
CharacterBytes Substitute(uint8_t ansiByte) {
    const uint8_t bestFit = kAnsiToOem[ansiByte];
    return {1, {bestFit < 0x80 ? static_cast<char>(bestFit) : '?'}};
}

}  // namespace

std::optional<CharsetTable> CharsetTableFor(std::string_view codeset) {
    const std::string folded = Folded(codeset);
    if (folded == "utf8") return kUtf8Table;
    if (IsAscii(folded)) return std::nullopt;
    const iconv_t conversion = iconv_open(std::string(codeset).c_str(), "UTF-8");
    if (conversion == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    CharsetTable table;
    bool usable = true;
    for (int byte = 0; byte < 256 && usable; ++byte) {
        const auto ansiByte = static_cast<uint8_t>(byte);
        const std::optional<CharacterBytes> converted = ConvertCharacter(conversion, kUtf8Table[byte]);
        // Names and numbers go out unconverted, so ASCII must stay ASCII.
        if (ansiByte < 0x80)
            usable = converted && converted->Size == 1 && converted->Bytes[0] == static_cast<char>(ansiByte);
        else if (IsRussianLetter(ansiByte))
            usable = converted.has_value();
        table[byte] = converted ? *converted : Substitute(ansiByte);
    }
    iconv_close(conversion);
    if (!usable) return std::nullopt;
    return table;
}

}  // namespace vormi::platform::posix
