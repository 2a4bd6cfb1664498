#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "vormi/platform/FileMeta.h"
#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"

namespace vormi {

using namespace platform;

namespace {

using testsupport::MakeReadOnly;
using testsupport::TempFolder;
using testsupport::WriteWholeFile;

// Runs a test in a fixed time zone and puts the previous one back.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) {
        if (const char* old = std::getenv("TZ")) Old_ = old, HadOld_ = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        if (HadOld_)
            setenv("TZ", Old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string Old_;
    bool HadOld_ = false;
};

struct stat StatOf(const std::string& name) {
    struct stat info {};
    EXPECT_EQ(stat(name.c_str(), &info), 0);
    return info;
}

void SetTimes(const std::string& name, time_t accessed, time_t modified) {
    decltype(stat::st_mtim) times[2]{};
    times[0].tv_sec = accessed;
    times[1].tv_sec = modified;
    ASSERT_EQ(utimensat(AT_FDCWD, name.c_str(), times, 0), 0);
}

// 2025-01-01 13:32:00 in both forms.
constexpr uint32_t kNewYearStamp = 0x5A216C00;
constexpr time_t kNewYearUtc = 1735738320;

class FileMetaPosixTest : public ::testing::Test {
protected:
    TempFolder Folder;
    std::string Name = Folder / "file.txt";
    void SetUp() override { WriteWholeFile(Name, "content"); }
};

TEST_F(FileMetaPosixTest, RegularFilesAreNeitherFoldersNorDevicesNorPipes) {
    EXPECT_TRUE(RegularFileExists(Name));
    EXPECT_FALSE(RegularFileExists(Folder.Path()));
    EXPECT_FALSE(RegularFileExists(Folder / "missing"));
    EXPECT_FALSE(RegularFileExists("/dev/null"));
    ASSERT_EQ(mkfifo((Folder / "fifo").c_str(), 0644), 0);
    EXPECT_FALSE(RegularFileExists(Folder / "fifo"));
    EXPECT_TRUE(FileExists(Folder / "fifo"));
}

TEST_F(FileMetaPosixTest, SameFileFollowsLinksAndNames) {
    const std::string link = Folder / "link";
    ASSERT_EQ(symlink(Name.c_str(), link.c_str()), 0);
    const std::string other = Folder / "other";
    WriteWholeFile(other, "content");
    EXPECT_TRUE(SameFile(Name, link));
    EXPECT_TRUE(SameFile(Name, Folder.Path() + "/./file.txt"));
    EXPECT_FALSE(SameFile(Name, other));
    EXPECT_FALSE(SameFile(Name, Folder / "missing"));
    EXPECT_FALSE(SameFile(Folder / "missing", Folder / "missing"));
}

TEST_F(FileMetaPosixTest, AttributesOfFilesAndFolders) {
    EXPECT_EQ(FileAttributesOf(Name), kAttrArchive);
    EXPECT_EQ(FileAttributesOf(Folder.Path()), kAttrFolder);
    EXPECT_EQ(FileAttributesOf(Folder / "missing"), 0u);
    ASSERT_TRUE(MakeReadOnly(Name));
    EXPECT_EQ(FileAttributesOf(Name), kAttrArchive | kAttrReadOnly);
}

TEST_F(FileMetaPosixTest, ReadOnlyAttributeRoundTrip) {
    ASSERT_EQ(chmod(Name.c_str(), 0664), 0);
    ASSERT_TRUE(SetFileAttributesOf(Name, kAttrArchive | kAttrReadOnly));
    EXPECT_EQ(StatOf(Name).st_mode & 0777, 0444u) << "every write permission goes";
    EXPECT_EQ(FileAttributesOf(Name), kAttrArchive | kAttrReadOnly);

    ASSERT_TRUE(SetFileAttributesOf(Name, kAttrArchive));
    EXPECT_EQ(StatOf(Name).st_mode & 0777, 0644u) << "only the owner's write permission comes back";
    EXPECT_EQ(FileAttributesOf(Name), kAttrArchive);

    EXPECT_FALSE(SetFileAttributesOf(Folder / "missing", kAttrArchive));
}

TEST_F(FileMetaPosixTest, StampRoundTripInFixedZone) {
    ZoneGuard zone("UTC");
    SetTimes(Name, 1000000000, 1000000000);
    ASSERT_TRUE(SetFileDosStamp(Name, kNewYearStamp));
    const struct stat info = StatOf(Name);
    EXPECT_EQ(info.st_mtime, kNewYearUtc);
    EXPECT_EQ(info.st_atime, 1000000000) << "the access time stays";
    EXPECT_EQ(GetFileDosStamp(Name), kNewYearStamp);
}

TEST_F(FileMetaPosixTest, StampFollowsTheLocalZone) {
    ZoneGuard zone("UTC-3");  // three hours east of UTC
    ASSERT_TRUE(SetFileDosStamp(Name, kNewYearStamp));
    EXPECT_EQ(StatOf(Name).st_mtime, kNewYearUtc - 3 * 3600);
}

TEST_F(FileMetaPosixTest, StampSecondsRoundDownToEven) {
    ZoneGuard zone("UTC");
    SetTimes(Name, kNewYearUtc, kNewYearUtc + 59);
    EXPECT_EQ(GetFileDosStamp(Name), kNewYearStamp | 29u);
}

TEST_F(FileMetaPosixTest, StampOutsideTheDosYearsIsZero) {
    ZoneGuard zone("UTC");
    SetTimes(Name, 0, 315532799);  // 1979-12-31 23:59:59
    EXPECT_EQ(GetFileDosStamp(Name), 0u);
    SetTimes(Name, 0, 315532800);  // 1980-01-01 00:00:00
    EXPECT_EQ(GetFileDosStamp(Name), 0x00210000u);
    SetTimes(Name, 0, 4354819200);  // 2108-01-01 00:00:00
    EXPECT_EQ(GetFileDosStamp(Name), 0u);
}

TEST_F(FileMetaPosixTest, StampOfReadOnlyFileOrFolderIsNotSet) {
    SetTimes(Name, 1000000000, 1000000000);
    ASSERT_TRUE(MakeReadOnly(Name));
    EXPECT_FALSE(SetFileDosStamp(Name, kNewYearStamp));
    EXPECT_EQ(StatOf(Name).st_mtime, 1000000000);
    EXPECT_FALSE(SetFileDosStamp(Folder.Path(), kNewYearStamp));
    EXPECT_FALSE(SetFileDosStamp(Folder / "missing", kNewYearStamp));
}

}  // namespace

}  // namespace vormi
