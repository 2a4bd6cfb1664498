// Pipes named as files to write: write access only, and no waiting for a
// reader, so that a reader that leaves (or never comes) ends the writing
// instead of blocking it for ever.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "FilesFixture.h"
#include "vormi/platform/Process.h"

namespace vormi {

namespace {

// The name of one of this process's descriptors, as /dev/stdout names descriptor 1.
std::string DescriptorName(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

std::string ReadSome(int fd) {
    char buffer[16] = {};
    const ssize_t got = read(fd, buffer, sizeof buffer);
    return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string();
}

TEST_F(FilesTest, APipeIsWrittenToUntilItsReaderLeaves) {
    platform::IgnoreBrokenPipes();  // as the program does
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    File file;
    file.Assign(DescriptorName(ends[1]));
    ASSERT_EQ(file.Create(), 0);
    close(ends[1]);
    EXPECT_EQ(file.Write("abc", 3), 3u);
    EXPECT_EQ(ReadSome(ends[0]), "abc");
    // Had the file been opened for reading too, this process would still be
    // a reader: the write would succeed, and block once the pipe was full.
    close(ends[0]);
    EXPECT_EQ(file.Write("x", 1), 0u);
}

// Run in a child that an alarm ends, so that an open that waits for a reader
// fails the test instead of hanging it.
TEST_F(FilesTest, ANamedPipeNobodyReadsIsRefusedAtOnce) {
    const std::string fifo = Folder / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EXIT(
        {
            alarm(60);
            File file;
            file.Assign(fifo);
            std::exit(file.Create() == ENXIO && !file.IsOpen() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");

    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    File file;
    file.Assign(fifo);
    ASSERT_EQ(file.Create(), 0);
    EXPECT_EQ(file.Write("abc", 3), 3u);
    EXPECT_EQ(ReadSome(reader), "abc");
    close(reader);
}

}  // namespace

}  // namespace vormi
