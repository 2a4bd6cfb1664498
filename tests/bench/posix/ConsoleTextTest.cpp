// Message texts on a console whose character set takes several bytes for a
// Russian letter.
#include <gtest/gtest.h>

#include "ConsoleText.h"
#include "vormi/testsupport/ConsoleLocale.h"

namespace vormi {

namespace {

using testsupport::ConsoleLocale;

TEST(ConsoleText, FieldWidthsCountCharactersNotBytes) {
    if (!ConsoleLocale::Exists("C.UTF-8")) GTEST_SKIP() << "no locale C.UTF-8 here";
    ConsoleLocale locale("C.UTF-8");
    console::Capture capture;
    console::WriteFixed(std::nullopt, 6, 0);
    EXPECT_EQ(capture.Text(), "   н/д");
}

}  // namespace

}  // namespace vormi
