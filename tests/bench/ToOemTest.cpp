#include <gtest/gtest.h>

#include <string>

#include "BenchTexts.h"
#include "ConsoleText.h"
#include "OemText.h"
#include "vormi/platform/AnsiText.h"

namespace vormi {

namespace {

constexpr std::string_view kAlphabet = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"_ansi;
constexpr char kAlphabetUtf8[] = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя";

std::string AsciiRange() {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii.push_back(static_cast<char>(c));
    return ascii;
}

TEST(ToOem, EveryRussianLetterLandsOnItsCodePage866Byte) { EXPECT_EQ(console::ToOem(kAlphabet), Oem(kAlphabetUtf8)); }

TEST(ToOem, AsciiAndTheBellStayAsTheyAre) {
    EXPECT_EQ(console::ToOem(AsciiRange()), AsciiRange());
    EXPECT_EQ(console::ToOem(""), "");
}

TEST(ToOem, MessageTextsKeepTheirLength) {
    for (const std::string_view line : txt::kUsage) EXPECT_EQ(console::ToOem(line).size(), line.size());
    EXPECT_EQ(console::ToOem(txt::kRunError), Oem("\a  ОШИБКА: "));
}

}  // namespace

}  // namespace vormi
