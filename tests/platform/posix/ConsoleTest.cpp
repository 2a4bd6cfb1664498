#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "vormi/platform/Console.h"
#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"

namespace vormi {

namespace {

using testsupport::ReadWholeFile;
using testsupport::TempFolder;

// Points a standard descriptor elsewhere for one test and puts it back.
class Redirect {
public:
    Redirect(int standard, int replacement) : Standard_(standard), Saved_(dup(standard)) {
        std::fflush(stdout);
        if (replacement >= 0)
            dup2(replacement, standard);
        else
            close(standard);
    }
    ~Redirect() {
        dup2(Saved_, Standard_);
        close(Saved_);
        std::clearerr(stdin);
    }

private:
    int Standard_;
    int Saved_;
};

TEST(ConsoleTest, WrittenBytesArriveOnFlush) {
    TempFolder folder;
    const std::string name = folder / "out";
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    std::string large(200000, 'x');
    large[150000] = '\r';
    {
        Redirect output(STDOUT_FILENO, fd);
        platform::ConsoleWrite("first\r\n");
        platform::ConsoleWrite(large);
        platform::ConsoleWrite(std::string_view("\0\x07", 2));
        platform::ConsoleFlush();
    }
    close(fd);
    EXPECT_EQ(ReadWholeFile(name), "first\r\n" + large + std::string("\0\x07", 2));
}

TEST(ConsoleTest, ReadLineConsumesOneLineAndSurvivesTheEnd) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], "first\nsecond", 12), 12);
    close(ends[1]);
    Redirect input(STDIN_FILENO, ends[0]);
    close(ends[0]);
    platform::ConsoleReadLine();
    platform::ConsoleReadLine();  // "second", then end of input
    platform::ConsoleReadLine();  // nothing left at all
}

TEST(ConsoleTest, ReadLineFromClosedInputReturns) {
    Redirect input(STDIN_FILENO, -1);
    platform::ConsoleReadLine();
}

TEST(ConsoleTest, WriteToClosedOutputIsDropped) {
    Redirect output(STDOUT_FILENO, -1);
    platform::ConsoleWrite("lost\r\n");
    platform::ConsoleFlush();
}

}  // namespace

}  // namespace vormi
