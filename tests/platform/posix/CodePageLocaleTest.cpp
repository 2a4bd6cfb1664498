// The console's character set on Linux follows the locale.
#include <gtest/gtest.h>
#include <iconv.h>

#include <clocale>

#include "posix/ConsoleCharset.h"
#include "vormi/platform/AnsiText.h"
#include "vormi/platform/CodePage.h"
#include "vormi/testsupport/ConsoleLocale.h"

namespace vormi {

namespace {

using platform::posix::CharsetTableFor;
using testsupport::ConsoleLocale;

constexpr std::string_view kText = "Ёлка: 5 ёжиков, Я"_ansi;

std::string Converted(const platform::posix::CharsetTable& table, std::string_view ansiText) {
    std::string out;
    for (const char c : ansiText) out.append(table[static_cast<uint8_t>(c)].Bytes, table[static_cast<uint8_t>(c)].Size);
    return out;
}

TEST(ConsoleCharsetTest, UnicodeInAnySpelling) {
    for (const char* spelling : {"UTF-8", "utf8", "Utf_8"}) {
        const auto table = CharsetTableFor(spelling);
        ASSERT_TRUE(table) << spelling;
        EXPECT_EQ(Converted(*table, kText), "Ёлка: 5 ёжиков, Я") << spelling;
    }
    EXPECT_EQ(Converted(*CharsetTableFor("UTF-8"), "\xB9"), "№") << "not only the letters";
}

// iconv's modules of the C library in use; a program under an emulator finds
// none for its processor.
bool IconvKnows(const char* codeset) {
    const iconv_t conversion = iconv_open(codeset, "UTF-8");
    if (conversion == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(conversion);
    return true;
}

TEST(ConsoleCharsetTest, EightBitSetsWithTheRussianLetters) {
    if (!IconvKnows("KOI8-R")) GTEST_SKIP() << "iconv has no modules here (an emulator?)";
    EXPECT_EQ(Converted(*CharsetTableFor("KOI8-R"), kText), "\xB3\xCC\xCB\xC1: 5 \xA3\xD6\xC9\xCB\xCF\xD7, \xF1");
    EXPECT_EQ(Converted(*CharsetTableFor("ISO-8859-5"), kText), "\xA1\xDB\xDA\xD0: 5 \xF1\xD6\xD8\xDA\xDE\xD2, \xCF");
    EXPECT_EQ(Converted(*CharsetTableFor("CP1251"), kText), kText);
    EXPECT_EQ(Converted(*CharsetTableFor("IBM866"), kText), platform::AnsiTextToOem(kText));
}

TEST(ConsoleCharsetTest, SetsWithoutTheLettersOrUnknownGetNone) {
    for (const char* codeset : {"ANSI_X3.4-1968", "ISO-8859-1", "EBCDIC-CP-FI", "no such set", ""})
        EXPECT_FALSE(CharsetTableFor(codeset)) << codeset;
}

TEST(ConsoleCodePageTest, TheLocaleChoosesTheSetAndCHasTheWindowsBytes) {
    const std::string windowsBytes = "\xF0\xAB\xAA\xA0: 5 \xF1\xA6\xA8\xAA\xAE\xA2, \x9F";
    EXPECT_EQ(platform::AnsiTextToOem(kText), windowsBytes) << "before any choice";
    {
        ConsoleLocale locale("C");
        EXPECT_EQ(platform::AnsiTextToOem(kText), windowsBytes);
    }
    if (!ConsoleLocale::Exists("C.UTF-8")) GTEST_SKIP() << "no locale C.UTF-8 here";
    ConsoleLocale locale("C.UTF-8");
    EXPECT_EQ(platform::AnsiTextToOem(kText), "Ёлка: 5 ёжиков, Я");
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C") << "the program's own locale is left alone";
}

}  // namespace

}  // namespace vormi
