// The bytes of the compressed file and the reader's checks, each on a file
// built from a valid one with one piece altered.
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "vormi/platform/FileMeta.h"
#include "vormi/zkfile/ZkFormat.h"

namespace vormi {

namespace {

const std::string Signature("ZK compressed. v1.0 Velmorandquistabrelonikast\r\n", 49);

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes Concat(std::initializer_list<Bytes> pieces) {
    Bytes all;
    for (const Bytes& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

// Offsets in a compressed file of a source with a name of nameLength bytes.
constexpr size_t BlockLengthAt = 55;
constexpr size_t NameLengthAt = 69;
size_t StreamAt(size_t nameLength) { return 70 + nameLength; }

// A valid file of "data.txt" (8-byte name) holding a little text.
class ZkFormatTest : public testing::Test {
protected:
    void SetUp() override {
        Source = Text("the quick brown fox jumps over the lazy dog, again and again");
        Packed = PackBytes(Folder, "data.txt", Source);
    }
    uint8_t Unpack(const Bytes& packed, uint32_t bufferSize = 65535, uint32_t halvingPeriod = 0) {
        return UnpackBytes(Folder, packed, "restored", bufferSize, halvingPeriod);
    }
    // Stores BlockLength and inserts surplus bytes after the name.
    Bytes WithSurplus(size_t surplus, uint16_t blockLength) const {
        Bytes altered = Packed;
        altered.insert(altered.begin() + static_cast<std::ptrdiff_t>(StreamAt(8)), surplus, 0xEE);
        StoreLe16(altered.data() + BlockLengthAt, blockLength);
        return altered;
    }

    TempFolder Folder;
    Bytes Source;
    Bytes Packed;
};

TEST(ZkFormatExampleTest, AbracadabraPacksToTheDocumentedNinetyBytes) {
    UseUtc();
    TempFolder folder;
    const std::string source = folder.Path("a.txt");
    WriteFile(source, Text("abracadabra"));
    ASSERT_TRUE(platform::SetFileDosStamp(source, ExampleStamp));
    ASSERT_EQ(platform::FileAttributesOf(source), 0x20u);

    Packer packer(65535);
    packer.File.Pack(source, folder.Path("a.zk"));
    ASSERT_EQ(packer.File.GetError(), zkeNone);

    const Bytes expected = Concat({
        Text(Signature),
        {0x01, 0x00, 0x00, 0x05, 0x00, 0x00},
        {0x12, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x6C, 0x21, 0x5A, 0x0B, 0x00, 0x00, 0x00, 0x05},
        Text("a.txt"),
        {0x86, 0x46, 0x4E, 0xFF, 0xC6, 0x5F, 0x93, 0xEF, 0xDF, 0xEF, 0x03},
        {0x23, 0x01, 0xCD, 0xAB},
    });
    EXPECT_EQ(ReadFile(folder.Path("a.zk")), expected);
    EXPECT_EQ(packer.File.Name, "a.txt");
    EXPECT_EQ(packer.File.Info.Size, 11u);
    EXPECT_EQ(packer.File.GetVersion(), 1u);
}

TEST_F(ZkFormatTest, AnEmptySourceHasNoCodedBytes) {
    const Bytes packed = PackBytes(Folder, "empty", {});
    ASSERT_EQ(packed.size(), 74u + 5);
    EXPECT_EQ(LoadLe16(packed.data() + BlockLengthAt), 5 + 13);
    EXPECT_EQ(LoadLe32(packed.data() + 65), 0u);
    EXPECT_EQ(LoadLe32(packed.data() + 74 + 5 - 4), ZkEndMarker);

    EXPECT_EQ(Unpack(packed), zkeNone);
    EXPECT_EQ(ReadFile(Folder.Path("restored")), Bytes{});
}

TEST_F(ZkFormatTest, ShortOrForeignHeaders) {
    EXPECT_EQ(Unpack({}), zkeHeaderRead);
    EXPECT_EQ(Unpack(Bytes(Packed.begin(), Packed.begin() + 54)), zkeHeaderRead);
    for (size_t i = 0; i < 49; ++i) {
        Bytes altered = Packed;
        altered[i] ^= 0x40;
        EXPECT_EQ(Unpack(altered), zkeBadHeader) << "signature byte " << i;
    }
    Bytes version2 = Packed;
    version2[49] = 2;
    EXPECT_EQ(Unpack(version2), zkeBadVersion);
}

TEST_F(ZkFormatTest, TheHalvingLimitMustMatchTheReader) {
    EXPECT_EQ(Unpack(Packed, 65535, 1281), zkeBadHalveLimit);
    EXPECT_EQ(ReadFile(Folder.Path("restored")), Bytes{});  // nothing decoded
    // Periods below 1280 all mean the limit 1280.
    EXPECT_EQ(Unpack(Packed, 65535, 1000), zkeNone);

    const Bytes packed5000 = PackBytes(Folder, "five", Source, 65535, 5000);
    EXPECT_EQ(LoadLe32(packed5000.data() + ZkLimitOffset), 5000u);
    EXPECT_EQ(Unpack(packed5000), zkeBadHalveLimit);
    EXPECT_EQ(Unpack(packed5000, 65535, 5000), zkeNone);
}

TEST_F(ZkFormatTest, InformationBlockLengths) {
    EXPECT_EQ(Unpack(Bytes(Packed.begin(), Packed.begin() + 56)), zkeHeaderRead);
    EXPECT_EQ(Unpack(Bytes(Packed.begin(), Packed.begin() + StreamAt(8) - 1)), zkeHeaderRead);

    Bytes tooShort = Packed;
    StoreLe16(tooShort.data() + BlockLengthAt, 12);
    EXPECT_EQ(Unpack(tooShort), zkeBadHeader);
    Bytes nameOverruns = Packed;
    nameOverruns[NameLengthAt] = 9;
    EXPECT_EQ(Unpack(nameOverruns), zkeBadHeader);

    // With 1000-byte buffers the block may be 998 bytes long, not 999.
    EXPECT_EQ(Unpack(WithSurplus(998 - 21, 998), 1000), zkeNone);
    EXPECT_EQ(ReadFile(Folder.Path("restored")), Source);
    EXPECT_EQ(Unpack(WithSurplus(999 - 21, 999), 1000), zkeHeaderBufferSmall);
    EXPECT_EQ(Unpack(WithSurplus(0, 0xFFFF), 65535), zkeHeaderBufferSmall);
}

TEST_F(ZkFormatTest, EndMarker) {
    const size_t end = Packed.size();
    EXPECT_EQ(Unpack(Bytes(Packed.begin(), Packed.begin() + static_cast<std::ptrdiff_t>(end - 4))), zkeEndMarkerRead);
    Bytes altered = Packed;
    altered[end - 1] ^= 1;
    EXPECT_EQ(Unpack(altered), zkeBadEndMarker);
    EXPECT_FALSE(Exists(Folder.Path("restored")));  // a failed unpack leaves no file

    Bytes extended = Packed;
    extended.insert(extended.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(Unpack(extended), zkeNone);
    EXPECT_EQ(ReadFile(Folder.Path("restored")), Source);
}

TEST_F(ZkFormatTest, UnpackKeepsTheStoredNameAndInformation) {
    WriteFile(Folder.Path("input.zk"), Packed);
    Packer unpacker(65535);
    unpacker.File.Name = "something else";
    unpacker.File.Unpack(Folder.Path("input.zk"), Folder.Path("other name"));
    ASSERT_EQ(unpacker.File.GetError(), zkeNone);
    EXPECT_EQ(unpacker.File.Name, "data.txt");
    EXPECT_EQ(unpacker.File.Info.Size, Source.size());
    EXPECT_EQ(unpacker.File.Info.Remaining, 0u);
    EXPECT_EQ(ReadFile(Folder.Path("other name")), Source);
}

TEST(ZkFormatStepsTest, LongNamesAreCutTo255Bytes) {
    TempFolder folder;
    Packer packer(1000);
    packer.File.SetName(folder.Path(std::string(300, 'n')));
    EXPECT_EQ(packer.File.Name, std::string(255, 'n'));

    packer.File.PackedFile.Assign(folder.Path("p"));
    ASSERT_EQ(packer.File.PackedFile.Create(), 0);
    packer.File.WriteBuf.SetFilled(55);  // as right after the header
    packer.File.WriteInfo();
    packer.File.PackedFile.Close();
    const Bytes block = ReadFile(folder.Path("p"));
    ASSERT_EQ(block.size(), 255u + 15);
    EXPECT_EQ(LoadLe16(block.data()), 268);
    EXPECT_EQ(block[14], 255);
}

// The header is written and read only at the start of the file; a step run
// out of order records 9.
TEST(ZkFormatStepsTest, HeaderOnlyAtPositionZero) {
    TempFolder folder;
    Packer packer(1000);
    packer.File.CreatePacked(folder.Path("p"));
    ASSERT_EQ(packer.File.GetError(), zkeNone);
    packer.File.WriteHeader();
    EXPECT_EQ(packer.File.GetError(), zkeNoHeader);
    packer.File.SetError(zkeNone);  // a failed pack would remove its file; this one is read below
    packer.File.CloseAll();
    EXPECT_EQ(ReadFile(folder.Path("p")).size(), 55u);

    packer.File.OpenPacked(folder.Path("p"));
    ASSERT_EQ(packer.File.GetError(), zkeNone);
    packer.File.ParseHeader();
    EXPECT_EQ(packer.File.GetError(), zkeNoHeader);
    packer.File.CloseAll();
}

}  // namespace

}  // namespace vormi
