// Full names and folder parts by the Windows rules: backslash and colon end a
// folder, a forward slash is an ordinary character of a name.
#include <gtest/gtest.h>
#include <windows.h>

#include "vormi/platform/FileMeta.h"
#include "vormi/testsupport/TempFolder.h"

namespace vormi {

using namespace platform;

namespace {

using testsupport::TempFolder;

class FullNameWin32Test : public ::testing::Test {
protected:
    TempFolder Folder;
    std::string Previous = CurrentFolder();
    std::string Here;

    static std::string CurrentFolder() {
        char folder[MAX_PATH * 4] = {};
        GetCurrentDirectoryA(sizeof folder, folder);
        return folder;
    }
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryA((Folder / "sub").c_str(), nullptr));
        ASSERT_TRUE(SetCurrentDirectoryA((Folder / "sub").c_str()));
        Here = CurrentFolder();
    }
    void TearDown() override { ASSERT_TRUE(SetCurrentDirectoryA(Previous.c_str())); }
};

TEST_F(FullNameWin32Test, RelativeNamesBecomeAbsolute) {
    const std::string parent = std::string(FolderOf(Here));
    EXPECT_EQ(FullName("x.bin"), Here + "\\x.bin");
    EXPECT_EQ(FullName(".\\x.bin"), Here + "\\x.bin");
    EXPECT_EQ(FullName("..\\x.bin"), parent + "x.bin");
    EXPECT_EQ(FullName("a\\..\\..\\x.bin"), parent + "x.bin");
    EXPECT_EQ(FullName("a/b.bin"), Here + "\\a\\b.bin") << "the system reads a slash as a separator";
    EXPECT_EQ(FullName("missing\\y"), Here + "\\missing\\y") << "the file need not exist";
    EXPECT_EQ(FullName("\\x.bin"), Here.substr(0, 2) + "\\x.bin") << "the root of the current drive";
}

TEST_F(FullNameWin32Test, AbsoluteNamesAreOnlyCleanedUp) {
    EXPECT_EQ(FullName("C:\\a\\.\\b\\..\\x"), "C:\\a\\x");
    EXPECT_EQ(FullName("C:\\..\\x"), "C:\\x") << "never above the root";
}

TEST(FolderPartsWin32Test, BackslashAndColonEndTheFolder) {
    EXPECT_EQ(NameWithoutFolder("a\\b\\c.txt"), "c.txt");
    EXPECT_EQ(FolderOf("a\\b\\c.txt"), "a\\b\\");
    EXPECT_EQ(NameWithoutFolder("c:x.bin"), "x.bin");
    EXPECT_EQ(FolderOf("c:x.bin"), "c:");
    EXPECT_EQ(NameWithoutFolder("c.txt"), "c.txt");
    EXPECT_EQ(FolderOf("c.txt"), "");
    EXPECT_EQ(NameWithoutFolder("data/x.bin"), "data/x.bin") << "a slash is an ordinary character";
    EXPECT_EQ(FolderOf("data/x.bin"), "");
    EXPECT_EQ(FolderSeparator(), '\\');
    EXPECT_TRUE(IsFolderDelimiter('\\'));
    EXPECT_TRUE(IsFolderDelimiter(':'));
    EXPECT_FALSE(IsFolderDelimiter('/'));
}

}  // namespace

}  // namespace vormi
