#include <gtest/gtest.h>

#include "vormi/platform/AnsiText.h"
#include "vormi/platform/CodePage.h"

namespace vormi {

using platform::AnsiTextToOem;
using platform::AnsiToOemByte;

namespace {

TEST(CodePageTest, AsciiIsUnchanged) {
    for (int byte = 0; byte < 0x80; ++byte) EXPECT_EQ(AnsiToOemByte(static_cast<uint8_t>(byte)), byte);
}

TEST(CodePageTest, CyrillicLettersMoveToTheirOemPlaces) {
    for (int i = 0; i < 32; ++i) EXPECT_EQ(AnsiToOemByte(static_cast<uint8_t>(0xC0 + i)), 0x80 + i) << "А..Я " << i;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(AnsiToOemByte(static_cast<uint8_t>(0xE0 + i)), 0xA0 + i) << "а..п " << i;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(AnsiToOemByte(static_cast<uint8_t>(0xF0 + i)), 0xE0 + i) << "р..я " << i;
    EXPECT_EQ(AnsiToOemByte(0xA8), 0xF0) << "Ё";
    EXPECT_EQ(AnsiToOemByte(0xB8), 0xF1) << "ё";
}

TEST(CodePageTest, CharactersMissingFromTheOemPageGetBestFits) {
    EXPECT_EQ(AnsiToOemByte(0xA0), 0xFF) << "no-break space";
    EXPECT_EQ(AnsiToOemByte(0xB9), 0xFC) << "numero sign";
    EXPECT_EQ(AnsiToOemByte(0xB0), 0xF8) << "degree sign";
    EXPECT_EQ(AnsiToOemByte(0x85), 0x3A) << "ellipsis";
    EXPECT_EQ(AnsiToOemByte(0x96), 0x2D) << "en dash";
    EXPECT_EQ(AnsiToOemByte(0x93), 0x22) << "left double quotation mark";
    EXPECT_EQ(AnsiToOemByte(0xAB), 0x3C) << "left guillemet";
    EXPECT_EQ(AnsiToOemByte(0x88), 0x3F) << "euro sign";
    EXPECT_EQ(AnsiToOemByte(0xA1), 0xF6) << "short U";
    EXPECT_EQ(AnsiToOemByte(0xBF), 0xF5) << "yi";
}

TEST(CodePageTest, TextKeepsItsLength) {
    const std::string oem = AnsiTextToOem("Ёлка: 5 ёжиков"_ansi);
    EXPECT_EQ(oem, std::string("\xF0\xAB\xAA\xA0: 5 \xF1\xA6\xA8\xAA\xAE\xA2"));
    EXPECT_EQ(AnsiTextToOem(""), "");
    EXPECT_EQ(AnsiTextToOem(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace

}  // namespace vormi
