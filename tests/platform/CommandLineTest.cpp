#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vormi/platform/Process.h"

namespace vormi {

namespace {

using platform::SplitCommandLine;
using Parameters = std::vector<std::string>;

TEST(CommandLineTest, BlanksAndControlCharactersSeparate) {
    EXPECT_EQ(SplitCommandLine("vormi.exe cd  /0:a.txt"), (Parameters{"vormi.exe", "cd", "/0:a.txt"}));
    EXPECT_EQ(SplitCommandLine("\t c\x01\x1f/r:5 \r\n"), (Parameters{"c", "/r:5"}));
    EXPECT_EQ(SplitCommandLine(""), Parameters{});
    EXPECT_EQ(SplitCommandLine("   \t "), Parameters{});
}

TEST(CommandLineTest, BytesAboveAsciiAreOrdinaryCharacters) {
    EXPECT_EQ(SplitCommandLine("c /0:\xf4\xe0\xe9\xeb.txt"), (Parameters{"c", "/0:\xf4\xe0\xe9\xeb.txt"}));
}

TEST(CommandLineTest, QuotedStretchesHoldBlanksAndLoseTheirQuotes) {
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\vormi.exe\" c"),
              (Parameters{"C:\\Program Files\\vormi.exe", "c"}));
    EXPECT_EQ(SplitCommandLine("/0:\"my file\".txt x"), (Parameters{"/0:my file.txt", "x"}));
    EXPECT_EQ(SplitCommandLine("/b:\"  4096\""), Parameters{"/b:  4096"});
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(SplitCommandLine("a \"b c"), (Parameters{"a", "b c"}));
}

TEST(CommandLineTest, AdjacentQuotesAtTheStartOfAParameterAreSkipped) {
    EXPECT_EQ(SplitCommandLine("a \"\" b"), (Parameters{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("a \"\"\"\"  b"), (Parameters{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("\"\"x"), Parameters{"x"});
    EXPECT_EQ(SplitCommandLine("a \"\""), Parameters{"a"});
    // Inside a parameter a pair of quotes is an empty quoted stretch.
    EXPECT_EQ(SplitCommandLine("x\"\"y"), Parameters{"xy"});
}

TEST(CommandLineTest, AParameterKeepsAtMost4096Characters) {
    const std::string longest(platform::kMaxParameterLength, 'a');
    EXPECT_EQ(SplitCommandLine(longest + " b"), (Parameters{longest, "b"}));
    EXPECT_EQ(SplitCommandLine(longest + "bcd e"), (Parameters{longest, "e"}));
}

TEST(CommandLineTest, ANulEndsTheLine) {
    EXPECT_EQ(SplitCommandLine(std::string_view("a b\0c", 5)), (Parameters{"a", "b"}));
}

}  // namespace

}  // namespace vormi
