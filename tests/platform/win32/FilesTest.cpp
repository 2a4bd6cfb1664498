// Windows' own refusals, with its own error numbers.
#include <gtest/gtest.h>
#include <windows.h>

#include "FilesFixture.h"

namespace vormi {

namespace {

TEST_F(FilesTest, RefusalsGiveTheSystemsErrorNumbers) {
    WriteWholeFile(Name, "keep me");
    File reader;
    Open(reader, ReadSharing::DenyWrite);
    File writer;
    EXPECT_EQ(Create(writer), ERROR_SHARING_VIOLATION);
    reader.Close();
    MakeReadOnly(Name);
    EXPECT_EQ(Create(writer), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadWholeFile(Name), "keep me");
    EXPECT_EQ(writer.Close(), ERROR_INVALID_HANDLE);
}

TEST_F(FilesTest, DevicesAndFoldersAreNoRegularFiles) {
    WriteWholeFile(Name, "x");
    File file;
    Open(file, ReadSharing::DenyWrite);
    EXPECT_TRUE(file.IsRegularFile());
    File device;
    device.Assign("NUL");
    ASSERT_EQ(device.OpenRead(ReadSharing::DenyNone), 0);
    EXPECT_FALSE(device.IsRegularFile());
    EXPECT_TRUE(device.AtEnd());
}

}  // namespace

}  // namespace vormi
