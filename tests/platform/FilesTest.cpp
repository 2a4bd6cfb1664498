#include <gtest/gtest.h>

#include "FilesFixture.h"

namespace vormi {

namespace {

TEST_F(FilesTest, CreateWritesAndReadsBack) {
    File file;
    ASSERT_EQ(Create(file), 0);
    EXPECT_EQ(file.Write("hello", 5), 5u);
    EXPECT_EQ(file.Position(), 5u);
    EXPECT_EQ(file.Size(), 5u);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadWholeFile(Name), "hello");
}

TEST_F(FilesTest, CreateTruncatesAWritableFile) {
    WriteWholeFile(Name, "old content");
    File file;
    ASSERT_EQ(Create(file), 0);
    EXPECT_EQ(file.Size(), 0u);
}

TEST_F(FilesTest, ReadStopsShortAtTheEndAndReportsIt) {
    WriteWholeFile(Name, "0123456789");
    File file;
    Open(file, ReadSharing::DenyWrite);
    char buffer[16] = {};
    EXPECT_FALSE(file.AtEnd());
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_FALSE(file.AtEnd());
    EXPECT_EQ(file.Read(buffer, 16), 6u);
    EXPECT_EQ(std::string(buffer, 6), "456789");
    EXPECT_TRUE(file.AtEnd());
    EXPECT_EQ(file.Read(buffer, 16), 0u);
    EXPECT_EQ(file.Position(), 10u);
}

TEST_F(FilesTest, EmptyFileIsAtEndAtOnce) {
    WriteWholeFile(Name, "");
    File file;
    Open(file, ReadSharing::DenyNone);
    EXPECT_TRUE(file.AtEnd());
}

TEST_F(FilesTest, ReadOnlyOpenCannotWrite) {
    WriteWholeFile(Name, "abc");
    File file;
    Open(file, ReadSharing::DenyNone);
    EXPECT_EQ(file.Write("x", 1), 0u);
    file.Close();
    EXPECT_EQ(ReadWholeFile(Name), "abc");
}

TEST_F(FilesTest, ClosedRecordFailsQuietly) {
    File file;
    file.Assign(Name);
    char byte = 0;
    EXPECT_NE(file.Close(), 0);
    EXPECT_EQ(file.Read(&byte, 1), 0u);
    EXPECT_EQ(file.Write(&byte, 1), 0u);
    EXPECT_TRUE(file.AtEnd());
    EXPECT_EQ(file.Size(), 0u);
    EXPECT_NE(file.OpenRead(ReadSharing::DenyNone), 0) << "the file does not exist";
    EXPECT_FALSE(file.IsOpen());
    EXPECT_NE(file.Close(), 0);
}

TEST_F(FilesTest, FolderNeverOpensOrCreates) {
    File file;
    file.Assign(Folder.Path());
    EXPECT_NE(file.OpenRead(ReadSharing::DenyWrite), 0);
    EXPECT_NE(file.OpenRead(ReadSharing::DenyNone), 0);
    EXPECT_NE(file.Create(), 0);
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(FilesTest, CreateOverReadOnlyFileFailsAndKeepsIt) {
    // Holds for every user, root included.
    WriteWholeFile(Name, "keep me");
    ASSERT_TRUE(MakeReadOnly(Name));
    File file;
    EXPECT_NE(Create(file), 0);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadWholeFile(Name), "keep me");
}

// Sharing, as Windows enforces it between opens.

TEST_F(FilesTest, CreateOfAFileOpenDenyingWriteFailsAndKeepsIt) {
    WriteWholeFile(Name, "source bytes");
    File source;
    Open(source, ReadSharing::DenyWrite);
    File packed;
    EXPECT_NE(Create(packed), 0);
    EXPECT_FALSE(packed.IsOpen());
    EXPECT_EQ(ReadWholeFile(Name), "source bytes");

    char buffer[32];
    EXPECT_EQ(source.Read(buffer, sizeof buffer), 12u);
}

TEST_F(FilesTest, CreateOfAFileOpenDenyingNoneSucceeds) {
    WriteWholeFile(Name, "shared");
    File reader;
    Open(reader, ReadSharing::DenyNone);
    File writer;
    EXPECT_EQ(Create(writer), 0);
}

TEST_F(FilesTest, DenyWriteOpenFailsWhileAWriterIsOpen) {
    File writer;
    ASSERT_EQ(Create(writer), 0);
    File reader;
    reader.Assign(Name);
    EXPECT_NE(reader.OpenRead(ReadSharing::DenyWrite), 0);
    EXPECT_EQ(reader.OpenRead(ReadSharing::DenyNone), 0);
}

TEST_F(FilesTest, ReadersThatDenyWriteCoexist) {
    WriteWholeFile(Name, "x");
    File first, second;
    Open(first, ReadSharing::DenyWrite);
    Open(second, ReadSharing::DenyWrite);
}

// A file being written is shared for reading only: a second writer is
// refused before it truncates anything, while readers that let others write
// still read what is there.
TEST_F(FilesTest, AFileBeingWrittenCannotBeCreatedAgain) {
    File writer;
    ASSERT_EQ(Create(writer), 0);
    ASSERT_EQ(writer.Write("first", 5), 5u);
    File second;
    EXPECT_NE(Create(second), 0);
    EXPECT_FALSE(second.IsOpen());
    File reader;
    Open(reader, ReadSharing::DenyNone);
    char buffer[8] = {};
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 5u);
    EXPECT_EQ(std::string(buffer, 5), "first");
    writer.Close();
    EXPECT_EQ(Create(second), 0) << "the claim ends with the writer";
}

TEST_F(FilesTest, ClosingEndsTheSharingClaims) {
    WriteWholeFile(Name, "x");
    {
        File reader;
        Open(reader, ReadSharing::DenyWrite);
        reader.Close();
        File writer;
        ASSERT_EQ(Create(writer), 0);
        writer.Close();
        File second;
        Open(second, ReadSharing::DenyWrite);
    }  // the destructor closes too
    File writer;
    EXPECT_EQ(Create(writer), 0);
}

TEST_F(FilesTest, ReopeningARecordDropsItsEarlierClaim) {
    WriteWholeFile(Name, "x");
    File file;
    Open(file, ReadSharing::DenyWrite);
    Open(file, ReadSharing::DenyNone);
    File writer;
    EXPECT_EQ(Create(writer), 0);
}

}  // namespace

}  // namespace vormi
