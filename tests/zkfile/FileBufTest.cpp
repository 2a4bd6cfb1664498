#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

#include "TestFiles.h"
#include "vormi/zkfile/FileBuf.h"

namespace vormi {

namespace {

// A buffer whose block is released at the end of the test.
struct OwnedBuf {
    explicit OwnedBuf(uint32_t size) { Buf.Alloc(size); }
    ~OwnedBuf() { Buf.Release(); }
    FileBuf Buf{};
};

void OpenForReading(platform::File& file, const std::string& name) {
    file.Assign(name);
    ASSERT_EQ(file.OpenRead(platform::ReadSharing::DenyWrite), 0) << name;
}

void ExpectInvalid(const FileBuf& buf) {
    EXPECT_EQ(buf.ValidCapacity(), 0u);
    EXPECT_EQ(buf.Filled(), 0u);
    EXPECT_EQ(buf.FreeSpace(), 0u);
    EXPECT_EQ(buf.DataPtr(), nullptr);
}

TEST(FileBufTest, AllocRaisesSmallSizesToTheMinimum) {
    for (const auto& [asked, expected] : {std::pair{1u, 1000u}, {999u, 1000u}, {1000u, 1000u}, {1001u, 1001u}}) {
        OwnedBuf owned(asked);
        EXPECT_EQ(owned.Buf.ValidCapacity(), expected) << asked;
        EXPECT_EQ(owned.Buf.FreeSpace(), expected);
        EXPECT_EQ(owned.Buf.Mark, 0u);
        EXPECT_TRUE(owned.Buf.IsOk());
        EXPECT_NE(owned.Buf.DataPtr(), nullptr);
    }
}

TEST(FileBufTest, AllocOfZeroOnlyReleases) {
    OwnedBuf owned(2000);
    owned.Buf.Status = fbsShortRead;
    owned.Buf.Mark = 7;
    owned.Buf.Alloc(0);
    ExpectInvalid(owned.Buf);
    EXPECT_EQ(owned.Buf.Status, fbsShortRead);
    EXPECT_EQ(owned.Buf.Mark, 7u);
    EXPECT_EQ(owned.Buf.CapacityCheck, FileBufReleasedCheck);
}

TEST(FileBufTest, ZeroFilledReleasedAndTamperedRecordsAreInvalid) {
    FileBuf zeroed{};
    ExpectInvalid(zeroed);
    zeroed.SetFilled(5);
    EXPECT_EQ(zeroed.FillCount, 0u);
    zeroed.Release();  // must not free the null block
    ExpectInvalid(zeroed);

    OwnedBuf released(1000);
    released.Buf.SetFilled(10);
    released.Buf.Release();
    ExpectInvalid(released.Buf);
    EXPECT_EQ(released.Buf.FillCount, 0u);

    OwnedBuf tampered(1000);
    tampered.Buf.SetFilled(10);
    ++tampered.Buf.Capacity;
    ExpectInvalid(tampered.Buf);
    --tampered.Buf.Capacity;  // so that the block is freed
    EXPECT_EQ(tampered.Buf.Filled(), 10u);
}

TEST(FileBufTest, RequireDataOnAnInvalidBufferStopsWithCode204) {
    EXPECT_EXIT(FileBuf{}.RequireData(), testing::ExitedWithCode(204), "204");
}

TEST(FileBufTest, SetFilledClampsToTheCapacity) {
    OwnedBuf owned(1000);
    owned.Buf.SetFilled(5000);
    EXPECT_EQ(owned.Buf.Filled(), 1000u);
    EXPECT_EQ(owned.Buf.FreeSpace(), 0u);
}

TEST(FileBufTest, ReadsAtTheEndOfAFile) {
    TempFolder folder;
    WriteFile(folder.Path("ten"), Bytes(10, 'x'));
    {
        platform::File file;
        OpenForReading(file, folder.Path("ten"));
        OwnedBuf owned(1000);
        owned.Buf.Status = fbsShortWrite;
        EXPECT_EQ(owned.Buf.ReadFrom(file, 100), 10u);
        EXPECT_EQ(owned.Buf.Status, fbsOk);  // short only because the file ended
        EXPECT_EQ(owned.Buf.Filled(), 10u);
    }
    {
        platform::File file;
        OpenForReading(file, folder.Path("ten"));
        OwnedBuf owned(1000);
        owned.Buf.SetFilled(3);
        EXPECT_EQ(owned.Buf.ReadExact(file, 100), 10u);
        EXPECT_EQ(owned.Buf.Status, fbsShortRead);
        EXPECT_EQ(owned.Buf.Filled(), 13u);  // what arrived is still counted
    }
}

TEST(FileBufTest, ReadsThatDoNotFit) {
    TempFolder folder;
    WriteFile(folder.Path("data"), MakeData(3000));
    platform::File file;
    OpenForReading(file, folder.Path("data"));
    OwnedBuf owned(1000);
    owned.Buf.SetFilled(900);

    EXPECT_EQ(owned.Buf.ReadExact(file, 101), 0u);
    EXPECT_EQ(owned.Buf.Status, fbsNoRoom);
    EXPECT_EQ(owned.Buf.Filled(), 900u);
    EXPECT_EQ(file.Position(), 0u);  // nothing was read

    EXPECT_EQ(owned.Buf.ReadFrom(file, 500), 100u);  // cut to the free space
    EXPECT_EQ(owned.Buf.Status, fbsOk);
    EXPECT_EQ(owned.Buf.ReadFrom(file, 500), 0u);  // full
    EXPECT_EQ(owned.Buf.Status, fbsOk);
    EXPECT_EQ(std::memcmp(owned.Buf.Data + 900, MakeData(3000).data(), 100), 0);
}

TEST(FileBufTest, WriteTo) {
    TempFolder folder;
    platform::File file;
    file.Assign(folder.Path("out"));
    ASSERT_EQ(file.Create(), 0);
    OwnedBuf owned(1000);
    owned.Buf.Status = fbsNoRoom;
    EXPECT_EQ(owned.Buf.WriteTo(file), 0u);
    EXPECT_EQ(owned.Buf.Status, fbsOk);
    EXPECT_EQ(file.Size(), 0u);

    std::iota(owned.Buf.Data, owned.Buf.Data + 20, uint8_t{0});
    owned.Buf.SetFilled(20);
    EXPECT_EQ(owned.Buf.WriteTo(file), 20u);
    EXPECT_EQ(owned.Buf.Filled(), 20u);  // the caller resets the count
    EXPECT_EQ(file.Size(), 20u);
}

TEST(FileBufTest, ConsumeSlidesTheOverlappingTailToTheFront) {
    OwnedBuf owned(1000);
    std::iota(owned.Buf.Data, owned.Buf.Data + 1000, uint8_t{0});
    owned.Buf.SetFilled(700);
    owned.Buf.Consume(0);
    EXPECT_EQ(owned.Buf.Filled(), 700u);

    owned.Buf.Consume(3);
    ASSERT_EQ(owned.Buf.Filled(), 697u);
    for (uint32_t i = 0; i < 697; ++i) ASSERT_EQ(owned.Buf.Data[i], static_cast<uint8_t>(i + 3)) << i;

    EXPECT_FALSE(owned.Buf.IsDrained());
    owned.Buf.Consume(697);
    EXPECT_EQ(owned.Buf.Filled(), 0u);
    EXPECT_TRUE(owned.Buf.IsDrained());
    owned.Buf.SetFilled(5);
    owned.Buf.Consume(9);
    EXPECT_EQ(owned.Buf.Filled(), 0u);
}

}  // namespace

}  // namespace vormi
