#include <gtest/gtest.h>

#include <string>

#include "BenchTexts.h"
#include "FCmdLine.h"
#include "OemText.h"
#include "luMiscFun.h"
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

TEST(ToOem, EveryRussianLetterLandsOnItsCodePage866Byte) {
    EXPECT_EQ(FCmdLine::ToOem(kAlphabet), Oem(kAlphabetUtf8));
    EXPECT_EQ(luMiscFun::ToOem(kAlphabet), Oem(kAlphabetUtf8));
}

TEST(ToOem, AsciiAndTheBellStayAsTheyAre) {
    EXPECT_EQ(FCmdLine::ToOem(AsciiRange()), AsciiRange());
    EXPECT_EQ(luMiscFun::ToOem(AsciiRange()), AsciiRange());
    EXPECT_EQ(FCmdLine::ToOem(""), "");
}

TEST(ToOem, MessageTextsKeepTheirLength) {
    for (const std::string_view line : txt::kUsage) EXPECT_EQ(FCmdLine::ToOem(line).size(), line.size());
    EXPECT_EQ(FCmdLine::ToOem(txt::kRunError), Oem("\a  ОШИБКА: "));
}

}  // namespace

}  // namespace vormi
