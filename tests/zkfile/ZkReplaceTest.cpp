// A file that a pack or an unpack writes replaces its target only once it is
// whole: a failed run leaves the target as it was and no other file beside it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZkReplaceFixture.h"

namespace vormi {

namespace {

TEST_F(ZkReplaceTest, ReplacementsLeaveOnlyTheNamedFiles) {
    const std::string restored = Folder.Path("restored");
    WriteFile(restored, Earlier);
    WriteFile(Folder.Path("other"), MakeData(3000, 2));
    ASSERT_EQ(Pack(Folder.Path("other"), PackedName), zkeNone);
    ASSERT_EQ(Unpack(PackedName, restored), zkeNone);
    EXPECT_EQ(ReadFile(restored), MakeData(3000, 2));
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"other", "packed.zk", "restored", "source"}));
}

// The stream ends early although header and information block are fine.
TEST_F(ZkReplaceTest, AnUnpackOfACutStreamLeavesTheFileItWasToReplace) {
    const std::string restored = Folder.Path("restored");
    WriteFile(restored, Earlier);
    WriteFile(Folder.Path("cut.zk"), Bytes(Packed.begin(), Packed.begin() + static_cast<std::ptrdiff_t>(Packed.size() / 2)));
    EXPECT_EQ(Unpack(Folder.Path("cut.zk"), restored), zkeEndMarkerRead);
    EXPECT_EQ(ReadFile(restored), Earlier);
    EXPECT_EQ(Unpack(Folder.Path("cut.zk"), Folder.Path("new")), zkeEndMarkerRead);
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"cut.zk", "packed.zk", "restored", "source"}));
}

// A run ended by force leaves its temporary file; the next run on that target
// takes it over and removes it.
TEST_F(ZkReplaceTest, ATemporaryFileLeftByAnEndedRunIsTakenOver) {
    WriteFile(PackedName + platform::File::kTemporarySuffix, Earlier);
    EXPECT_EQ(Pack(SourceName, PackedName), zkeNone);
    EXPECT_EQ(ReadFile(PackedName), Packed);
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"packed.zk", "source"}));
}

}  // namespace

}  // namespace vormi
