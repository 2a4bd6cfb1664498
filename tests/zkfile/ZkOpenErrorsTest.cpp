// Failures of opening, creating, reading and writing the files of an
// operation, each from a real file, and what is left on disk afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "vormi/platform/FileMeta.h"
#include "vormi/zkfile/ZkFormat.h"

namespace vormi {

namespace {

using ZkOpenErrorsTest = PackedSourceTest;

TEST_F(ZkOpenErrorsTest, SourceCannotBeOpened) {
    File.SetError(zkeBadEndMarker);  // an earlier operation's error does not survive
    EXPECT_EQ(Pack(Folder.Path("missing"), Folder.Path("out.zk")), zkeSourceOpen);
    EXPECT_EQ(Pack(Folder.Path(), Folder.Path("out.zk")), zkeSourceOpen);
    EXPECT_FALSE(Exists(Folder.Path("out.zk")));
}

// The information block records the size in 32 bits; a source of 4 GiB or more
// is refused instead of packed into a file that cannot be unpacked.
TEST_F(ZkOpenErrorsTest, SourceOf4GiBIsRefused) {
    const std::string huge = Folder.Path("huge");
    WriteFile(huge, {});
    std::error_code error;
    std::filesystem::resize_file(huge, uint64_t{1} << 32, error);
    const bool sized = !error;
    if (!sized) GTEST_SKIP() << "no sparse 4 GiB file on this file system";
    EXPECT_EQ(Pack(huge, Folder.Path("out.zk")), zkeSourceOpen);
    EXPECT_FALSE(Exists(Folder.Path("out.zk")));
    EXPECT_FALSE(File.PlainFile.IsOpen());
    platform::File writer;  // the source is not held any more
    writer.Assign(huge);
    EXPECT_EQ(writer.Create(), 0);
}

TEST_F(ZkOpenErrorsTest, ExistingFilesAreReplacedOnlyWhenPermitted) {
    const Bytes other{1, 2, 3};
    WriteFile(Folder.Path("other"), other);
    EXPECT_EQ(Pack(SourceName, Folder.Path("other"), false), zkePackedExists);
    EXPECT_EQ(ReadFile(Folder.Path("other")), other);
    platform::File writer;  // the source was closed again
    writer.Assign(SourceName);
    EXPECT_EQ(writer.Create(), 0);
    writer.Close();
    WriteFile(SourceName, Source);

    // Checked before the compressed file is looked at, so a missing one does not matter.
    EXPECT_EQ(Unpack(Folder.Path("missing.zk"), Folder.Path("other"), false), zkeRestoredExists);
    EXPECT_EQ(ReadFile(Folder.Path("other")), other);

    EXPECT_EQ(Unpack(PackedName, Folder.Path("other")), zkeNone);
    EXPECT_EQ(ReadFile(Folder.Path("other")), Source);
}

TEST_F(ZkOpenErrorsTest, RestoredFileCannotBeCreated) {
    ASSERT_TRUE(std::filesystem::create_directory(Folder.Path("folder")));
    EXPECT_EQ(Unpack(PackedName, Folder.Path("folder")), zkeRestoredCreate);
    EXPECT_EQ(Unpack(PackedName, Folder.Path("missing/restored")), zkeRestoredCreate);
}

// Creating the restored file truncates it, so restoring a compressed file onto
// itself would destroy it before a byte of it is read.
TEST_F(ZkOpenErrorsTest, UnpackingOntoTheCompressedFileItselfIsRefused) {
    EXPECT_EQ(Unpack(PackedName, PackedName), zkeRestoredCreate);
    EXPECT_EQ(ReadFile(PackedName), Packed);

    std::filesystem::create_hard_link(PackedName, Folder.Path("alias.zk"));
    EXPECT_EQ(Unpack(PackedName, Folder.Path(".") + platform::FolderSeparator() + "alias.zk"), zkeRestoredCreate);
    EXPECT_EQ(ReadFile(PackedName), Packed);

    EXPECT_EQ(Unpack(PackedName, PackedName, false), zkeRestoredExists);
    EXPECT_EQ(Unpack(PackedName, Folder.Path("restored")), zkeNone);
    EXPECT_EQ(ReadFile(Folder.Path("restored")), Source);
}

TEST_F(ZkOpenErrorsTest, CompressedFileCannotBeCreated) {
    // The source is open and denies writers, so it cannot become its own compressed file.
    EXPECT_EQ(Pack(SourceName, SourceName), zkePackedCreate);
    EXPECT_EQ(ReadFile(SourceName), Source);
    EXPECT_EQ(Pack(SourceName, Folder.Path()), zkePackedCreate);
}

TEST_F(ZkOpenErrorsTest, CompressedFileCannotBeOpened) {
    EXPECT_EQ(Unpack(Folder.Path("missing.zk"), Folder.Path("restored")), zkePackedOpen);
    EXPECT_FALSE(Exists(Folder.Path("restored")));  // created only after the compressed file's checks
    EXPECT_EQ(Unpack(Folder.Path(), Folder.Path("restored")), zkePackedOpen);
}

// Metadata is restored only after a successful unpack: a failed one must not
// pass on the attributes held from an earlier operation (a read-only one
// would block every later attempt) or the date.
TEST_F(ZkOpenErrorsTest, FailedUnpackKeepsTheRestoredFilePlain) {
    ASSERT_TRUE(platform::SetFileDosStamp(SourceName, ExampleStamp));
    ASSERT_TRUE(platform::SetFileAttributesOf(SourceName, platform::kAttrArchive | platform::kAttrReadOnly));
    ASSERT_EQ(Pack(SourceName, PackedName), zkeNone);
    ASSERT_EQ(Unpack(PackedName, Folder.Path("first")), zkeNone);
    EXPECT_EQ(platform::FileAttributesOf(Folder.Path("first")), platform::kAttrArchive | platform::kAttrReadOnly);
    EXPECT_EQ(platform::GetFileDosStamp(Folder.Path("first")), ExampleStamp);

    const std::string restored = Folder.Path("second");
    WriteFile(restored, {7});
    Bytes badMarker = ReadFile(PackedName);
    badMarker.back() ^= 1;
    WriteFile(Folder.Path("bad.zk"), badMarker);
    EXPECT_EQ(Unpack(Folder.Path("bad.zk"), restored), zkeBadEndMarker);
    EXPECT_EQ(ReadFile(restored), Bytes{7});  // the file it was to replace stays
    EXPECT_EQ(platform::FileAttributesOf(restored), platform::kAttrArchive);
    EXPECT_NE(platform::GetFileDosStamp(restored), ExampleStamp);

    EXPECT_EQ(Unpack(PackedName, restored), zkeNone);
    EXPECT_EQ(platform::FileAttributesOf(restored), platform::kAttrArchive | platform::kAttrReadOnly);
}

// Missing buffers are allocated again at the next operation, with 64000 bytes;
// the halving limit and the caller's permissions stay.
TEST_F(ZkOpenErrorsTest, MissingBuffersAreReplacedKeepingTheLimitAndThePermissions) {
    File.ReadBuf.Release();
    File.WriteBuf.Release();
    File.HalvingPeriod = 5000;
    File.SetFlag(PermitOverwritePacked);
    File.SetFlag(PermitOverwriteRestored);
    File.Pack(SourceName, PackedName);
    EXPECT_EQ(File.GetError(), zkeNone);
    EXPECT_EQ(File.ReadBuf.ValidCapacity(), ZkFallbackBufferSize);
    EXPECT_EQ(File.WriteBuf.ValidCapacity(), ZkFallbackBufferSize);
    EXPECT_EQ(File.HalvingPeriod, 5000u);
    EXPECT_EQ(LoadLe32(ReadFile(PackedName).data() + ZkLimitOffset), 5000u);
    EXPECT_TRUE(File.HasFlag(PermitOverwriteRestored));
}

}  // namespace

}  // namespace vormi
