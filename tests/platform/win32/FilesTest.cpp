// Windows' own refusals, with its own error numbers.
#include <gtest/gtest.h>
#include <windows.h>

#include "FilesFixture.h"

namespace vormi {

namespace {

std::string PipeName(const std::string& purpose) {
    return "\\\\.\\pipe\\vormi-files-test-" + purpose + "-" + std::to_string(GetCurrentProcessId());
}

// The reading end of a pipe with one instance that only takes data.
HANDLE ServeInboundPipe(const std::string& name) {
    return CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 65536, 0, nullptr);
}

TEST_F(FilesTest, RefusalsGiveTheSystemsErrorNumbers) {
    WriteWholeFile(Name, "keep me");
    File reader;
    Open(reader, ReadSharing::DenyWrite);
    File writer;
    EXPECT_EQ(Create(writer), ERROR_SHARING_VIOLATION);
    reader.Close();
    ASSERT_TRUE(MakeReadOnly(Name));
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

// A pipe that only takes data, as a console pipe's write end is: opened for
// writing only, it gets the bytes, and once its reader has gone a write fails
// instead of waiting.
TEST_F(FilesTest, APipeIsWrittenToUntilItsReaderLeaves) {
    const std::string name = PipeName("read");
    const HANDLE reader = ServeInboundPipe(name);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    File file;
    file.Assign(name);
    ASSERT_EQ(file.Create(), 0);
    EXPECT_EQ(file.Write("abc", 3), 3u);
    char buffer[8] = {};
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(reader, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "abc");
    CloseHandle(reader);
    EXPECT_EQ(file.Write("x", 1), 0u);
}

// A pipe that nobody serves, or whose one instance is taken, fails at once.
TEST_F(FilesTest, APipeNobodyReadsIsRefusedAtOnce) {
    File unserved;
    unserved.Assign(PipeName("none"));
    EXPECT_NE(unserved.Create(), 0);
    const std::string name = PipeName("taken");
    const HANDLE reader = ServeInboundPipe(name);
    File first, second;
    first.Assign(name);
    second.Assign(name);
    EXPECT_EQ(first.Create(), 0);
    EXPECT_NE(second.Create(), 0);
    CloseHandle(reader);
}

}  // namespace

}  // namespace vormi
