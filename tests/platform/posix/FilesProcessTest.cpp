// Sharing and read-only refusals as this implementation reports them, and
// sharing between processes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "FilesFixture.h"

namespace vormi {

namespace {

TEST_F(FilesTest, RefusalsGiveTheirErrorNumbers) {
    WriteWholeFile(Name, "keep me");
    File reader;
    Open(reader, ReadSharing::DenyWrite);
    File writer;
    EXPECT_EQ(Create(writer), EBUSY);
    reader.Close();
    ASSERT_TRUE(MakeReadOnly(Name));
    EXPECT_EQ(Create(writer), EACCES);
}

// What may be packed: a file whose size says how much it holds.
TEST_F(FilesTest, RegularFilesAreToldFromEverythingElse) {
    auto regular = [](const std::string& name) {
        File file;
        file.Assign(name);
        return file.OpenRead(ReadSharing::DenyNone) == 0 && file.IsRegularFile();
    };
    WriteWholeFile(Name, "content");
    EXPECT_TRUE(regular(Name));
    WriteWholeFile(Name, "");
    EXPECT_TRUE(regular(Name));
    EXPECT_FALSE(regular("/dev/null"));
    EXPECT_FALSE(regular("/dev/zero"));
    ASSERT_EQ(mkfifo((Folder / "fifo").c_str(), 0644), 0);
    EXPECT_FALSE(regular(Folder / "fifo"));
    // A regular file by its type that reports 0 bytes and has content.
    EXPECT_FALSE(regular("/proc/self/status"));
    File closed;
    EXPECT_FALSE(closed.IsRegularFile());
}

// Opens the file in a child process through open, which returns 0 on success,
// runs whileHeld while the child keeps it open, and returns once the child has
// ended.
template <typename Open, typename Check>
void WhileAnotherProcessHolds(const std::string& name, Open open, Check whileHeld) {
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        File held;
        held.Assign(name);
        const char opened = open(held) == 0 ? 1 : 0;
        (void)!write(ready[1], &opened, 1);
        char ignored;
        (void)!read(done[0], &ignored, 1);
        _exit(0);
    }
    char opened = 0;
    EXPECT_EQ(read(ready[0], &opened, 1), 1);
    EXPECT_EQ(opened, 1);
    if (opened == 1) whileHeld();
    (void)!write(done[1], "", 1);
    int status = 0;
    waitpid(child, &status, 0);
    for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
}

TEST_F(FilesTest, SharingHoldsAcrossProcesses) {
    WriteWholeFile(Name, "other process");
    File writer;
    WhileAnotherProcessHolds(
        Name, [](File& reader) { return reader.OpenRead(ReadSharing::DenyWrite); },
        [&] {
            EXPECT_NE(Create(writer), 0);
            EXPECT_EQ(ReadWholeFile(Name), "other process");
        });
    EXPECT_EQ(Create(writer), 0) << "the claim ends with the other process";
}

// Two runs writing one file at once would leave neither's content.
TEST_F(FilesTest, AFileAnotherProcessWritesCannotBeCreated) {
    File writer;
    WhileAnotherProcessHolds(
        Name,
        [](File& other) {
            const int error = other.Create();
            return error != 0 ? error : other.Write("other process", 13) == 13 ? 0 : -1;
        },
        [&] {
            EXPECT_NE(Create(writer), 0);
            EXPECT_EQ(ReadWholeFile(Name), "other process");
        });
    EXPECT_EQ(Create(writer), 0) << "the claim ends with the other process";
}

}  // namespace

}  // namespace vormi
