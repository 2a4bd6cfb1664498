// Message texts are written readably in UTF-8 in the sources and stored in the
// program as bytes of the ANSI code page 1251, converted at compile time:
//
//     constexpr std::string_view kText = "Нет ошибки"_ansi;
//
// A character outside ASCII and the Cyrillic letters of code page 1251 fails
// the build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vormi {

namespace ansi_detail {

template <std::size_t N>
struct Utf8Literal {
    char Bytes[N]{};
    constexpr Utf8Literal(const char (&text)[N]) {
        for (std::size_t i = 0; i < N; ++i) Bytes[i] = text[i];
    }
};

// Code page 1251 byte of a code point; stops the compilation for any other.
consteval uint8_t ToCp1251(uint32_t codePoint) {
    if (codePoint < 0x80) return static_cast<uint8_t>(codePoint);
    if (codePoint >= 0x410 && codePoint <= 0x44F) return static_cast<uint8_t>(codePoint - 0x410 + 0xC0);
    if (codePoint == 0x401) return 0xA8;  // Ё
    if (codePoint == 0x451) return 0xB8;  // ё
    throw "character has no code page 1251 byte in this table";
}

template <std::size_t N>
consteval std::size_t CodePointCount(const Utf8Literal<N>& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < N; ++i)
        if ((static_cast<uint8_t>(text.Bytes[i]) & 0xC0) != 0x80) ++count;
    return count;
}

template <std::size_t Length>
struct AnsiBytes {
    char Bytes[Length + 1]{};
    constexpr std::string_view View() const { return {Bytes, Length}; }
};

template <std::size_t Length, std::size_t N>
consteval AnsiBytes<Length> Convert(const Utf8Literal<N>& text) {
    AnsiBytes<Length> out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        const uint8_t lead = static_cast<uint8_t>(text.Bytes[i]);
        uint32_t codePoint = 0;
        std::size_t length = 1;
        if (lead < 0x80) {
            codePoint = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            codePoint = lead & 0x1F;
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            codePoint = lead & 0x0F;
            length = 3;
        } else {
            throw "unsupported UTF-8 sequence";
        }
        for (std::size_t k = 1; k < length; ++k)
            codePoint = (codePoint << 6) | (static_cast<uint8_t>(text.Bytes[i + k]) & 0x3F);
        out.Bytes[o++] = static_cast<char>(ToCp1251(codePoint));
        i += length;
    }
    return out;
}

template <Utf8Literal Text>
inline constexpr auto kAnsi = Convert<CodePointCount(Text)>(Text);

}  // namespace ansi_detail

// "текст"_ansi: the text's code page 1251 bytes, with static storage.
template <ansi_detail::Utf8Literal Text>
consteval std::string_view operator""_ansi() {
    return ansi_detail::kAnsi<Text>.View();
}

}  // namespace vormi
