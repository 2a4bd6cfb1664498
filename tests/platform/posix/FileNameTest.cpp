#include <gtest/gtest.h>
#include <unistd.h>

#include "vormi/platform/FileMeta.h"
#include "vormi/testsupport/TempFolder.h"

namespace vormi {

using namespace platform;

namespace {

using testsupport::TempFolder;

// Works inside a temporary folder and returns to the previous current folder.
class FullNameTest : public ::testing::Test {
protected:
    TempFolder Folder;
    std::string Previous = std::filesystem::current_path().string();
    std::string Here;

    void SetUp() override {
        ASSERT_EQ(mkdir((Folder / "sub").c_str(), 0755), 0);
        ASSERT_EQ(chdir((Folder / "sub").c_str()), 0);
        Here = std::filesystem::current_path().string();
    }
    void TearDown() override { ASSERT_EQ(chdir(Previous.c_str()), 0); }
    std::string Parent() const { return std::filesystem::path(Here).parent_path().string(); }
};

TEST_F(FullNameTest, RelativeNamesBecomeAbsolute) {
    EXPECT_EQ(FullName("x.bin"), Here + "/x.bin");
    EXPECT_EQ(FullName("./x.bin"), Here + "/x.bin");
    EXPECT_EQ(FullName("a/./b//c"), Here + "/a/b/c");
    EXPECT_EQ(FullName("../x.bin"), Parent() + "/x.bin");
    EXPECT_EQ(FullName("a/../../x.bin"), Parent() + "/x.bin");
    EXPECT_EQ(FullName("."), Here);
    EXPECT_EQ(FullName(""), Here);
}

TEST_F(FullNameTest, AbsoluteNamesAreOnlyCleanedUp) {
    EXPECT_EQ(FullName("/tmp/x"), "/tmp/x");
    EXPECT_EQ(FullName("//tmp///x"), "/tmp/x");
    EXPECT_EQ(FullName("/tmp/./a/../x"), "/tmp/x");
    EXPECT_EQ(FullName("/../../x"), "/x") << "never above the root";
    EXPECT_EQ(FullName("/"), "/");
    EXPECT_EQ(FullName("/.."), "/");
}

TEST_F(FullNameTest, FolderNamesKeepTheirSlash) {
    EXPECT_EQ(FullName("/tmp/a/"), "/tmp/a/");
    EXPECT_EQ(FullName("a/"), Here + "/a/");
}

TEST_F(FullNameTest, NamesNeedNotExist) {
    EXPECT_EQ(FullName("missing/../y"), Here + "/y");
    EXPECT_EQ(FullName("/nowhere/a/../b"), "/nowhere/b");
}

// The name must denote the file the system opens: through a link to a folder
// elsewhere, ".." leads to that folder's parent, not back here.
TEST_F(FullNameTest, FolderPartsAreResolvedAsTheSystemResolvesThem) {
    ASSERT_EQ(mkdir((Folder / "elsewhere").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((Folder / "elsewhere/deep").c_str(), 0755), 0);
    ASSERT_EQ(symlink((Folder / "elsewhere/deep").c_str(), "sl"), 0);
    const std::string elsewhere = std::filesystem::canonical(Folder / "elsewhere").string();
    EXPECT_EQ(FullName("sl/../p.zk"), elsewhere + "/p.zk");
    EXPECT_EQ(FullName("./sl/x"), elsewhere + "/deep/x");
    EXPECT_EQ(FullName("sl/.."), elsewhere);
    EXPECT_EQ(FullName("sl/"), elsewhere + "/deep/");
    // The last component stays as written, a link included.
    EXPECT_EQ(FullName("sl"), Here + "/sl");
}

TEST(FolderPartsTest, NameAndFolderSplitAtTheLastSlash) {
    EXPECT_EQ(NameWithoutFolder("a/b/c.txt"), "c.txt");
    EXPECT_EQ(FolderOf("a/b/c.txt"), "a/b/");
    EXPECT_EQ(NameWithoutFolder("c.txt"), "c.txt");
    EXPECT_EQ(FolderOf("c.txt"), "");
    EXPECT_EQ(NameWithoutFolder("/c"), "c");
    EXPECT_EQ(FolderOf("/c"), "/");
    EXPECT_EQ(NameWithoutFolder("a/"), "");
    EXPECT_EQ(FolderOf("a/"), "a/");
    EXPECT_EQ(NameWithoutFolder("a\\b:c"), "a\\b:c") << "only the slash separates here";
    EXPECT_EQ(FolderSeparator(), '/');
    EXPECT_TRUE(IsFolderDelimiter('/'));
    EXPECT_FALSE(IsFolderDelimiter('\\'));
}

}  // namespace

}  // namespace vormi
