// File metadata through the platform's own calls alone, as both
// implementations must give it.
#include <gtest/gtest.h>

#include "vormi/platform/FileMeta.h"
#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"

namespace vormi {

using namespace platform;

namespace {

using testsupport::MakeReadOnly;
using testsupport::TempFolder;
using testsupport::WriteWholeFile;

// 2025-01-01 13:32:00 local.
constexpr uint32_t kNewYearStamp = 0x5A216C00;

class FileMetaTest : public ::testing::Test {
protected:
    TempFolder Folder;
    std::string Name = Folder / "file.txt";
    void SetUp() override { WriteWholeFile(Name, "content"); }
};

TEST_F(FileMetaTest, ExistenceIsForFilesOnly) {
    EXPECT_TRUE(FileExists(Name));
    EXPECT_FALSE(FileExists(Folder.Path()));
    EXPECT_FALSE(FileExists(Folder / "missing"));
    ASSERT_TRUE(MakeReadOnly(Name));
    EXPECT_TRUE(FileExists(Name));
}

TEST_F(FileMetaTest, StampOfFolderOrMissingFileIsZero) {
    EXPECT_EQ(GetFileDosStamp(Folder.Path()), 0u);
    EXPECT_EQ(GetFileDosStamp(Folder / "missing"), 0u);
}

TEST_F(FileMetaTest, RegularFilesAreFilesThatExist) {
    EXPECT_TRUE(RegularFileExists(Name));
    EXPECT_FALSE(RegularFileExists(Folder.Path()));
    EXPECT_FALSE(RegularFileExists(Folder / "missing"));
}

TEST_F(FileMetaTest, ReadOnlyAttributeComesAndGoes) {
    ASSERT_TRUE(SetFileAttributesOf(Name, FileAttributesOf(Name) | kAttrReadOnly));
    EXPECT_EQ(FileAttributesOf(Name) & kAttrReadOnly, kAttrReadOnly);
    EXPECT_FALSE(SetFileDosStamp(Name, kNewYearStamp)) << "the date needs write access";
    ASSERT_TRUE(SetFileAttributesOf(Name, FileAttributesOf(Name) & ~kAttrReadOnly));
    EXPECT_EQ(FileAttributesOf(Name) & kAttrReadOnly, 0u);
    EXPECT_FALSE(SetFileAttributesOf(Folder / "missing", kAttrArchive));
}

TEST_F(FileMetaTest, StampRoundTrip) {
    ASSERT_TRUE(SetFileDosStamp(Name, kNewYearStamp));
    EXPECT_EQ(GetFileDosStamp(Name), kNewYearStamp);
    EXPECT_FALSE(SetFileDosStamp(Name, 0));
    EXPECT_FALSE(SetFileDosStamp(Folder.Path(), kNewYearStamp));
    EXPECT_FALSE(SetFileDosStamp(Folder / "missing", kNewYearStamp));
    EXPECT_EQ(GetFileDosStamp(Name), kNewYearStamp);
}

TEST_F(FileMetaTest, InvalidStampsChangeNothing) {
    ASSERT_TRUE(SetFileDosStamp(Name, kNewYearStamp));
    const uint32_t date = kNewYearStamp & 0xFFFF0000u;
    const uint32_t invalid[] = {
        (45u << 25) | (0u << 21) | (1u << 16),   // month 0
        (45u << 25) | (13u << 21) | (1u << 16),  // month 13
        (45u << 25) | (1u << 21) | (0u << 16),   // day 0
        (45u << 25) | (2u << 21) | (29u << 16),  // 29 February 2025
        (45u << 25) | (4u << 21) | (31u << 16),  // 31 April
        date | (24u << 11),                      // hour 24
        date | (60u << 5),                       // minute 60
        date | 30u,                              // 60 seconds
    };
    for (uint32_t stamp : invalid) {
        EXPECT_FALSE(SetFileDosStamp(Name, stamp)) << std::hex << stamp;
        EXPECT_EQ(GetFileDosStamp(Name), kNewYearStamp) << std::hex << stamp;
    }
    const uint32_t leapDay = (44u << 25) | (2u << 21) | (29u << 16);
    EXPECT_TRUE(SetFileDosStamp(Name, leapDay)) << "29 February 2024";
    EXPECT_EQ(GetFileDosStamp(Name), leapDay);
}

TEST_F(FileMetaTest, SameFileByItsNames) {
    const std::string other = Folder / "other";
    WriteWholeFile(other, "content");
    EXPECT_TRUE(SameFile(Name, Name));
    EXPECT_TRUE(SameFile(Name, FullName(Name)));
    EXPECT_FALSE(SameFile(Name, other));
    EXPECT_FALSE(SameFile(Folder / "missing", Folder / "missing"));
}

}  // namespace

}  // namespace vormi
