// Metadata as the Windows calls give it: the attribute word itself, and the
// stamp's conversions between UTC and the local zone.
#include <gtest/gtest.h>
#include <windows.h>

#include "vormi/platform/FileMeta.h"
#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"

namespace vormi {

using namespace platform;

namespace {

using testsupport::TempFolder;
using testsupport::WriteWholeFile;

// 2025-01-01 13:32:00 local, and the same moment in UTC three hours earlier.
constexpr uint32_t kNewYearStamp = 0x5A216C00;
FILETIME Utc(int year, int month, int day, int hour, int minute, int second = 0) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    FILETIME file{};
    EXPECT_TRUE(SystemTimeToFileTime(&time, &file));
    return file;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

class FileMetaWin32Test : public ::testing::Test {
protected:
    TempFolder Folder;
    std::string Name = Folder / "file.txt";

    void SetUp() override { WriteWholeFile(Name, "content"); }

    // Sets or reads the file's times through a handle of its own.
    void SetTimes(const FILETIME* accessed, const FILETIME* written) {
        const HANDLE file = CreateFileA(Name.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(SetFileTime(file, nullptr, accessed, written));
        CloseHandle(file);
    }
    void GetTimes(FILETIME& accessed, FILETIME& written) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExA(Name.c_str(), GetFileExInfoStandard, &data));
        accessed = data.ftLastAccessTime;
        written = data.ftLastWriteTime;
    }
};

TEST_F(FileMetaWin32Test, AttributesAreTheSystemsWord) {
    EXPECT_EQ(FileAttributesOf(Name), GetFileAttributesA(Name.c_str()));
    EXPECT_EQ(FileAttributesOf(Folder.Path()) & kAttrFolder, kAttrFolder);
    EXPECT_EQ(FileAttributesOf(Folder / "missing"), 0u) << "0xFFFFFFFF becomes 0";

    ASSERT_TRUE(SetFileAttributesOf(Name, kAttrArchive | kAttrReadOnly));
    EXPECT_EQ(GetFileAttributesA(Name.c_str()), kAttrArchive | kAttrReadOnly);
    ASSERT_TRUE(SetFileAttributesOf(Name, kAttrArchive));
    EXPECT_EQ(GetFileAttributesA(Name.c_str()), kAttrArchive);
}

TEST_F(FileMetaWin32Test, StampIsTheLocalTimeOfTheLastWrite) {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    ASSERT_EQ(zone.Bias, -180) << "the test run fixes the zone at UTC+3";
    ASSERT_EQ(zone.DaylightDate.wMonth, 0) << "without daylight saving";

    const FILETIME accessed = Utc(2001, 9, 9, 1, 46);
    SetTimes(&accessed, nullptr);
    ASSERT_TRUE(SetFileDosStamp(Name, kNewYearStamp));
    FILETIME nowAccessed{}, written{};
    GetTimes(nowAccessed, written);
    EXPECT_TRUE(SameTime(written, Utc(2025, 1, 1, 10, 32)));
    EXPECT_TRUE(SameTime(nowAccessed, accessed)) << "only the last-write time is set";

    const FILETIME odd = Utc(2025, 1, 1, 10, 32, 59);
    SetTimes(nullptr, &odd);
    EXPECT_EQ(GetFileDosStamp(Name), kNewYearStamp | 29u) << "seconds round down to even";
}

TEST_F(FileMetaWin32Test, StampOutsideTheDosYearsIsZero) {
    const FILETIME early = Utc(1979, 12, 31, 12, 0);
    SetTimes(nullptr, &early);
    EXPECT_EQ(GetFileDosStamp(Name), 0u);
    const FILETIME late = Utc(2108, 1, 1, 12, 0);
    SetTimes(nullptr, &late);
    EXPECT_EQ(GetFileDosStamp(Name), 0u);
}

TEST_F(FileMetaWin32Test, DevicesAndHardLinks) {
    EXPECT_FALSE(RegularFileExists("NUL"));
    const std::string alias = Folder / "alias.txt";
    ASSERT_TRUE(CreateHardLinkA(alias.c_str(), Name.c_str(), nullptr));
    EXPECT_TRUE(SameFile(Name, alias));
}

}  // namespace

}  // namespace vormi
