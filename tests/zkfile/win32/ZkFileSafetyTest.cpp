// Safety against Windows' own kinds of names: devices and folders are no
// sources, and a source cannot change while it is packed.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ZkFileSafetyFixture.h"

namespace vormi {

namespace {

TEST_F(ZkFileSafetyTest, DevicesAndFoldersAreNoSources) {
    for (const std::string& source : {std::string("NUL"), Folder.Path()}) {
        const std::string out = Folder.Path("out.zk");
        EXPECT_EQ(Pack(source, out), zkeSourceOpen) << source;
        EXPECT_FALSE(Exists(out)) << source;
        EXPECT_FALSE(File.PlainFile.IsOpen()) << source;
    }
}

// The source is open denying writers for the whole pack: what it holds then
// is what gets packed.
TEST_F(ZkFileSafetyTest, ASourceCannotChangeWhileItIsPacked) {
    File.SetError(zkeNone);
    File.OpenSource(SourceName);
    ASSERT_TRUE(File.NoError());
    std::ofstream writer(SourceName, std::ios::binary | std::ios::app);
    EXPECT_FALSE(writer.is_open());
    File.CloseAll();
}

// Metadata goes only to a regular file: the null device takes the bytes and
// nothing else.
TEST_F(ZkFileSafetyTest, MetadataGoesOnlyToARegularRestoredFile) {
    MakeReadOnly(SourceName);
    ASSERT_EQ(Pack(SourceName, PackedName), zkeNone);
    EXPECT_EQ(Unpack(PackedName, "NUL"), zkeNone);
    EXPECT_EQ(Unpack(PackedName, Folder.Path("regular")), zkeNone);
    EXPECT_TRUE(IsReadOnly(Folder.Path("regular")));
}

}  // namespace

}  // namespace vormi
