#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "FCmdLine.h"

namespace vormi {

namespace {

using FCmdLine::ParseNumber;

// The value, or a marker for an invalid number.
std::string Read(const std::string& text) {
    int32_t value = 12345;
    if (!ParseNumber(text, value)) return "invalid";
    return std::to_string(value);
}

TEST(NumberText, DecimalWithSignAndTheFullSigned32BitRange) {
    EXPECT_EQ(Read("4096"), "4096");
    EXPECT_EQ(Read("+17"), "17");
    EXPECT_EQ(Read("-5"), "-5");
    EXPECT_EQ(Read("0"), "0");
    EXPECT_EQ(Read("2147483647"), "2147483647");
    EXPECT_EQ(Read("-2147483648"), "-2147483648");
    EXPECT_EQ(Read("00000000000000000000000000000042"), "42");
    EXPECT_EQ(Read("2147483648"), "invalid");
    EXPECT_EQ(Read("-2147483649"), "invalid");
    EXPECT_EQ(Read("99999999999999999999"), "invalid");
}

TEST(NumberText, HexadecimalPrefixesDigitCountAndWrap) {
    EXPECT_EQ(Read("$10000"), "65536");
    EXPECT_EQ(Read("x1f"), "31");
    EXPECT_EQ(Read("XaB"), "171");
    EXPECT_EQ(Read("0x400"), "1024");
    EXPECT_EQ(Read("0XFF"), "255");
    EXPECT_EQ(Read("$7FFFFFFF"), "2147483647");
    EXPECT_EQ(Read("$80000000"), std::to_string(INT32_MIN));
    EXPECT_EQ(Read("$FFFFFFFF"), "-1");
    EXPECT_EQ(Read("$00000001"), "1");
    EXPECT_EQ(Read("$000000001"), "invalid");  // nine digits
    EXPECT_EQ(Read("$"), "invalid");
    EXPECT_EQ(Read("0x"), "invalid");
    EXPECT_EQ(Read("-$10"), "invalid");
    EXPECT_EQ(Read("$-10"), "invalid");
    EXPECT_EQ(Read("$1G"), "invalid");
}

TEST(NumberText, LeadingBlanksOnlyAndTheWholeTextUsed) {
    EXPECT_EQ(Read("   4096"), "4096");
    EXPECT_EQ(Read("  $10"), "16");
    EXPECT_EQ(Read("4096 "), "invalid");
    EXPECT_EQ(Read("4096k"), "invalid");
    EXPECT_EQ(Read("\t4096"), "invalid");
    EXPECT_EQ(Read(""), "invalid");
    EXPECT_EQ(Read("    "), "invalid");
    EXPECT_EQ(Read("+"), "invalid");
    EXPECT_EQ(Read("- 5"), "invalid");
    EXPECT_EQ(Read("1e3"), "invalid");
}

TEST(NumberText, TextLongerThan255CharactersIsRefusedRatherThanCut) {
    EXPECT_EQ(Read(std::string(254, ' ') + "7"), "7");
    // Cut to 255 characters this would read as 5, not 50.
    EXPECT_EQ(Read(std::string(254, ' ') + "50"), "invalid");
    EXPECT_EQ(Read(std::string(300, '0') + "5"), "invalid");
}

}  // namespace

}  // namespace vormi
