// Pack and unpack never touch a file the user did not name, never dress
// anything but a regular file they created, and never record a success for a
// source they could not read exactly.
#include <gtest/gtest.h>

#include <string>

#include "ZkFileSafetyFixture.h"
#include "vormi/zkfile/ZkFormat.h"

namespace vormi {

namespace {

// Only a file whose header and information block pass is unpacked; until
// then the restored file is neither created nor truncated.
TEST_F(ZkFileSafetyTest, NothingIsRestoredFromAFileThatIsNotACompressedOne) {
    const std::string restored = Folder.Path("restored");
    const Bytes earlier{1, 2, 3, 4};
    auto unpackLeavesRestoredAlone = [&](const Bytes& packed, uint8_t expected) {
        WriteFile(restored, earlier);
        WriteFile(Folder.Path("bad.zk"), packed);
        EXPECT_EQ(Unpack(Folder.Path("bad.zk"), restored), expected);
        EXPECT_EQ(ReadFile(restored), earlier) << "error " << int{expected};
    };
    unpackLeavesRestoredAlone(Source, zkeBadHeader);  // the source itself named as the compressed file
    unpackLeavesRestoredAlone(Bytes(Packed.begin(), Packed.begin() + 30), zkeHeaderRead);
    Bytes version = Packed;
    version[ZkVersionOffset] = 2;
    unpackLeavesRestoredAlone(version, zkeBadVersion);
    Bytes limit = Packed;
    limit[ZkLimitOffset] ^= 1;
    unpackLeavesRestoredAlone(limit, zkeBadHalveLimit);
    Bytes shortBlock = Packed;
    shortBlock[ZkHeaderSize] = 12;
    unpackLeavesRestoredAlone(shortBlock, zkeBadHeader);
    unpackLeavesRestoredAlone(Bytes(Packed.begin(), Packed.begin() + ZkHeaderSize + 8), zkeHeaderRead);

    EXPECT_EQ(Unpack(Folder.Path("missing.zk"), Folder.Path("new")), zkePackedOpen);
    EXPECT_FALSE(Exists(Folder.Path("new")));
    EXPECT_EQ(Unpack(Folder.Path("bad.zk"), Folder.Path("new")), zkeHeaderRead);
    EXPECT_FALSE(Exists(Folder.Path("new")));

    // A failure after the checks leaves the file as it was too.
    Bytes marker = Packed;
    marker.back() ^= 1;
    WriteFile(Folder.Path("marker.zk"), marker);
    EXPECT_EQ(Unpack(Folder.Path("marker.zk"), restored), zkeBadEndMarker);
    EXPECT_EQ(ReadFile(restored), earlier);
}

// A restored file takes its source's read-only attribute; a permitted
// overwrite replaces it, as repeated unpacks of a read-only source need.
TEST_F(ZkFileSafetyTest, PermittedOverwriteClearsTheReadOnlyRestoredFile) {
    MakeReadOnly(SourceName);
    ASSERT_EQ(Pack(SourceName, PackedName), zkeNone);
    const std::string restored = Folder.Path("restored");
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(Unpack(PackedName, restored), zkeNone) << "run " << run;
        EXPECT_EQ(ReadFile(restored), Source);
        EXPECT_TRUE(IsReadOnly(restored));
    }
    // Not permitted: refused, and still read-only.
    EXPECT_EQ(Unpack(PackedName, restored, false), zkeRestoredExists);
    EXPECT_TRUE(IsReadOnly(restored));
    // Never any other file: not the compressed file named as the restored one.
    const Bytes packed = ReadFile(PackedName);
    MakeReadOnly(PackedName);
    EXPECT_EQ(Unpack(PackedName, PackedName), zkeRestoredCreate);
    EXPECT_TRUE(IsReadOnly(PackedName));
    EXPECT_EQ(ReadFile(PackedName), packed);
}

// A create that fails after the attribute was cleared puts it back.
TEST_F(ZkFileSafetyTest, FailedCreateKeepsTheReadOnlyAttribute) {
    const std::string restored = Folder.Path("restored");
    WriteFile(restored, {9});
    MakeReadOnly(restored);
    platform::File holder;  // denies writers, as an open source does
    holder.Assign(restored);
    ASSERT_EQ(holder.OpenRead(platform::ReadSharing::DenyWrite), 0);
    EXPECT_EQ(Unpack(PackedName, restored), zkeRestoredCreate);
    EXPECT_TRUE(IsReadOnly(restored));
    EXPECT_EQ(ReadFile(restored), Bytes{9});
}

// Two runs writing one file at once: the second one gets the creation error
// and writes nothing, and the first one's file comes out whole.
TEST_F(ZkFileSafetyTest, APackCannotCreateACompressedFileThatIsBeingWritten) {
    const std::string other = Folder.Path("other");
    WriteFile(other, MakeData(30000, 2));
    ZkFile first(65535);
    first.SetFlag(PermitOverwritePacked);
    EXPECT_EQ(PackWhileWriting(first, SourceName, PackedName,
                               [&] {
                                   const Bytes header = ReadFile(PackedName);
                                   EXPECT_EQ(Pack(other, PackedName), zkePackedCreate);
                                   EXPECT_EQ(ReadFile(PackedName), header);
                               }),
              zkeNone);
    EXPECT_EQ(ReadFile(PackedName), Packed);
}

TEST_F(ZkFileSafetyTest, AnUnpackCannotCreateARestoredFileThatIsBeingWritten) {
    const std::string other = Folder.Path("other");
    WriteFile(other, MakeData(30000, 2));
    ASSERT_EQ(Pack(other, Folder.Path("other.zk")), zkeNone);
    const std::string restored = Folder.Path("restored");
    ZkFile first(65535);
    first.SetFlag(PermitOverwriteRestored);
    EXPECT_EQ(UnpackWhileWriting(first, PackedName, restored,
                                 [&] {
                                     EXPECT_EQ(Unpack(Folder.Path("other.zk"), restored), zkeRestoredCreate);
                                     EXPECT_EQ(ReadFile(restored), Bytes{});
                                 }),
              zkeNone);
    EXPECT_EQ(ReadFile(restored), Source);
}

}  // namespace

}  // namespace vormi
