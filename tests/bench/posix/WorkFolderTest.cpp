// The work folder by the POSIX rules: only '/' separates folders.
#include <gtest/gtest.h>

#include "ParseHelpers.h"

namespace vormi {

namespace {

TEST(PrefixWorkFolder, OnlyNamesWithoutAFolderGetOne) {
    EXPECT_EQ(Prefixed("x.bin", "/tmp/work/"), "/tmp/work/x.bin");
    EXPECT_EQ(Prefixed("x.bin", "/tmp/work"), "/tmp/work/x.bin");
    EXPECT_EQ(Prefixed("x.bin", ""), "/x.bin");
    EXPECT_EQ(Prefixed("", "/tmp/work/"), "/tmp/work/");
    EXPECT_EQ(Prefixed("data/x.bin", "/tmp/work/"), "data/x.bin");
    EXPECT_EQ(Prefixed("/abs/x.bin", "/tmp/work/"), "/abs/x.bin");
    // Only '/' separates folders here.
    EXPECT_EQ(Prefixed("c:x.bin", "/w"), "/w/c:x.bin");
    EXPECT_EQ(Prefixed("sub\\x.bin", "/w"), "/w/sub\\x.bin");
}

TEST(ParseCommandLine, NamesFolderAndTheirOrder) {
    const Parsed parsed = Parse({"c", "/1:out/k._tx", "/0:", "/2:r.!tx", "/f:/w"});
    EXPECT_EQ(parsed.Options.Command, cmdPack);
    EXPECT_EQ(parsed.Options.File0, "/w/");
    EXPECT_EQ(parsed.Options.File1, "out/k._tx");
    EXPECT_EQ(parsed.Options.File2, "/w/r.!tx");
}

}  // namespace

}  // namespace vormi
