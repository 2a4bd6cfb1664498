#include <gtest/gtest.h>

#include <optional>

#include "BenchRuns.h"
#include "ConsoleText.h"
#include "OemText.h"
#include "vormi/zkfile/FixedPoint.h"

namespace vormi {

namespace {

TEST(FixedPoint, WidthIsAMinimumAndBlanksGoLeft) {
    EXPECT_EQ(FormatFixed(0.125L, 2, 2), "0.13");
    EXPECT_EQ(FormatFixed(7.0L, 2, 0), " 7");
    EXPECT_EQ(FormatFixed(1234567.6L, 2, 0), "1234568");
    EXPECT_EQ(FormatFixed(12.5L, 8, 2), "   12.50");
    EXPECT_EQ(FormatFixed(0.0L, 2, 4), "0.0000");
    EXPECT_EQ(FormatFixed(4294967295000.0L, 2, 0), "4294967295000");
}

TEST(FixedPoint, RoundsHalfAwayFromZeroOnEighteenSignificantDigits) {
    EXPECT_EQ(FormatFixed(2.5L, 2, 0), " 3");
    EXPECT_EQ(FormatFixed(0.5L, 2, 0), " 1");
    EXPECT_EQ(FormatFixed(0.49L, 2, 0), " 0");
    EXPECT_EQ(FormatFixed(0.004L, 2, 2), "0.00");
    // Neither of these is exact in binary; both lie a hair below the half.
    EXPECT_EQ(FormatFixed(1.005L, 2, 2), "1.01");
    EXPECT_EQ(FormatFixed(9.995L, 2, 2), "10.00");
    EXPECT_EQ(FormatFixed(999.99999L, 2, 2), "1000.00");
    EXPECT_EQ(FormatFixed(0.99995L, 2, 4), "1.0000");
    EXPECT_EQ(FormatFixed(1.0L / 3, 2, 4), "0.3333");
    EXPECT_EQ(FormatFixed(2.0L / 3, 2, 4), "0.6667");
}

TEST(FixedPoint, NegativeValuesKeepTheirSign) {
    EXPECT_EQ(FormatFixed(-2.5L, 2, 0), "-3");
    EXPECT_EQ(FormatFixed(-0.125L, 2, 2), "-0.13");
    EXPECT_EQ(FormatFixed(-7.0L, 4, 1), "-7.0");
    EXPECT_EQ(FormatFixed(-7.0L, 6, 1), "  -7.0");
}

TEST(FixedPoint, MissingQuotientShowsNotAvailableInTheSameField) {
    console::Capture capture;
    console::WriteFixed(std::nullopt, 2, 2);
    console::Write("|");
    console::WriteFixed(std::nullopt, 6, 0);
    console::Write("|");
    console::WriteFixed(12.5L, 2, 2);
    EXPECT_EQ(capture.Text(), Oem("н/д|   н/д|12.50"));
}

TEST(ReportArithmetic, ZeroDivisorsGiveNoValue) {
    EXPECT_EQ(BytesPerSecond(4096, 0, 1), std::nullopt);
    EXPECT_EQ(SizeRatio(80, 0), std::nullopt);
    ASSERT_TRUE(TimePerOperation(25, 2).has_value());
    EXPECT_EQ(FormatFixed(*TimePerOperation(25, 2), 2, 2), "12.50");
    ASSERT_TRUE(BytesPerSecond(1000, 3, 2).has_value());
    EXPECT_EQ(FormatFixed(*BytesPerSecond(1000, 3, 2), 2, 0), "666667");
    // A size of -1 (file not openable) enters as an unsigned number.
    EXPECT_EQ(FormatFixed(*SizeRatio(static_cast<uint32_t>(-1), 1), 2, 0), "4294967295");
}

}  // namespace

}  // namespace vormi
