// The work folder by the Windows rules: backslash and colon end a folder, and
// a forward slash is an ordinary character.
#include <gtest/gtest.h>

#include "ParseHelpers.h"

namespace vormi {

namespace {

TEST(PrefixWorkFolder, OnlyNamesWithoutAFolderGetOne) {
    EXPECT_EQ(Prefixed("x.bin", "C:\\work\\"), "C:\\work\\x.bin");
    EXPECT_EQ(Prefixed("x.bin", "C:\\work"), "C:\\work\\x.bin");
    EXPECT_EQ(Prefixed("x.bin", ""), "\\x.bin") << "rooted on the current drive";
    EXPECT_EQ(Prefixed("x.bin", "c:"), "c:\\x.bin") << "a backslash after a bare drive too";
    EXPECT_EQ(Prefixed("", "C:\\work\\"), "C:\\work\\");
    EXPECT_EQ(Prefixed("data/x.bin", "C:\\work\\"), "C:\\work\\data/x.bin");
    EXPECT_EQ(Prefixed("c:x.bin", "C:\\work\\"), "c:x.bin");
    EXPECT_EQ(Prefixed("sub\\x.bin", "C:\\work\\"), "sub\\x.bin");
    EXPECT_EQ(Prefixed("\\abs\\x.bin", "C:\\work\\"), "\\abs\\x.bin");
}

TEST(ParseCommandLine, NamesFolderAndTheirOrder) {
    const Parsed parsed = Parse({"c", "/1:out\\k._tx", "/0:", "/2:r.!tx", "/f:D:\\w"});
    EXPECT_EQ(parsed.Options.Command, cmdPack);
    EXPECT_EQ(parsed.Options.File0, "D:\\w\\");
    EXPECT_EQ(parsed.Options.File1, "out\\k._tx");
    EXPECT_EQ(parsed.Options.File2, "D:\\w\\r.!tx");
}

}  // namespace

}  // namespace vormi
