// Test oracle for console bytes: UTF-8 text (Russian letters and ASCII only) in
// code page 866, mapped by the code page's own layout rather than by the
// program's conversion table.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vormi {

inline std::string Oem(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        if (i + 1 >= utf8.size()) throw std::invalid_argument("truncated UTF-8");
        const uint32_t codePoint = ((lead & 0x1Fu) << 6) | (static_cast<uint8_t>(utf8[i + 1]) & 0x3Fu);
        i += 2;
        if (codePoint >= 0x410 && codePoint <= 0x43F)  // А..Я, а..п
            out.push_back(static_cast<char>(0x80 + (codePoint - 0x410)));
        else if (codePoint >= 0x440 && codePoint <= 0x44F)  // р..я
            out.push_back(static_cast<char>(0xE0 + (codePoint - 0x440)));
        else if (codePoint == 0x401)  // Ё
            out.push_back(static_cast<char>(0xF0));
        else if (codePoint == 0x451)  // ё
            out.push_back(static_cast<char>(0xF1));
        else
            throw std::invalid_argument("not a Russian letter");
    }
    return out;
}

}  // namespace vormi
