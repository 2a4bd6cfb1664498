// Replacing a file where only POSIX systems offer the means: runs stopped by a
// signal, a disk that fills up (a cap on the size of files written), a folder
// that takes no new file, and a named pipe whose reader comes late.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "ZkReplaceFixture.h"
#include "vormi/platform/Interrupts.h"

namespace vormi {

namespace {

// A source large enough that packing or unpacking it is still going on when
// the test has seen its temporary file appear.
class ZkReplaceLargeTest : public ZkReplaceTest {
protected:
    void SetUp() override {
        ZkReplaceTest::SetUp();
        LargeName = Folder.Path("large");
        WriteFile(LargeName, MakeData(6u << 20, 3));
        ASSERT_EQ(Pack(LargeName, Folder.Path("large.zk")), zkeNone);
    }

    // Runs step (a pack or an unpack writing target) in a child that removes
    // its temporary file on interruption, as the program does; sends signal
    // as soon as that file exists. Returns the child's wait status.
    template <typename Step>
    int StopWhileWriting(const std::string& target, int signalNumber, Step step) {
        const pid_t child = fork();
        if (child == 0) {
            platform::RemoveTemporariesOnInterrupt();
            step();
            _exit(0);
        }
        const std::string temporary = target + platform::File::kTemporarySuffix;
        int status = 0;
        while (access(temporary.c_str(), F_OK) != 0) {
            if (waitpid(child, &status, WNOHANG) == child) {
                ADD_FAILURE() << "the run ended without a temporary file";
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        kill(child, signalNumber);
        waitpid(child, &status, 0);
        return status;
    }

    std::string LargeName;
};

TEST_F(ZkReplaceLargeTest, ASignalEndsTheRunAndLeavesTheTargetAsItWas) {
    const std::vector<std::string> names{"large", "large.zk", "packed.zk", "source"};
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        const int status = StopWhileWriting(PackedName, signalNumber, [&] { Pack(LargeName, PackedName); });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << "signal " << signalNumber;
        EXPECT_EQ(ReadFile(PackedName), Packed) << "signal " << signalNumber;
        EXPECT_EQ(FolderNames(), names) << "signal " << signalNumber;
    }
    const int status = StopWhileWriting(SourceName, SIGINT, [&] { Unpack(Folder.Path("large.zk"), SourceName); });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
    EXPECT_EQ(ReadFile(SourceName), Source);
    EXPECT_EQ(FolderNames(), names);
}

// kill -9 leaves the temporary file, never a damaged target.
TEST_F(ZkReplaceLargeTest, AKilledRunLeavesTheTargetWhole) {
    const int status = StopWhileWriting(PackedName, SIGKILL, [&] { Pack(LargeName, PackedName); });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(ReadFile(PackedName), Packed);
}

// A file may not grow past the cap, as on a full disk: the write fails and the
// target stays.
TEST_F(ZkReplaceLargeTest, AFullDiskLeavesTheTargetAsItWas) {
    EXPECT_EXIT(
        {
            LimitFileSize(1u << 20);
            std::exit(Pack(LargeName, PackedName));
        },
        testing::ExitedWithCode(zkePackedWrite), "");
    EXPECT_EQ(ReadFile(PackedName), Packed);
    EXPECT_EXIT(
        {
            LimitFileSize(1u << 20);
            std::exit(Unpack(Folder.Path("large.zk"), SourceName));
        },
        testing::ExitedWithCode(zkeRestoredWrite), "");
    EXPECT_EQ(ReadFile(SourceName), Source);
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"large", "large.zk", "packed.zk", "source"}));
}

// A source that ends early fails the pack; the compressed file stays.
TEST_F(ZkReplaceTest, AFailedPackLeavesTheCompressedFileItWasToReplace) {
    EXPECT_EQ(PackWhileWriting(File, SourceName, PackedName, [&] { WriteFile(SourceName, Earlier); }), zkeSourceRead);
    EXPECT_EQ(ReadFile(PackedName), Packed);
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"packed.zk", "source"}));
}

// A writable file in a folder that takes no new file is written in place, as
// before. Root may create files anywhere, so it runs as nobody.
TEST_F(ZkReplaceTest, AFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
    const std::string folder = Folder.Path("closed");
    const std::string restored = folder + "/restored";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    WriteFile(restored, Earlier);
    ASSERT_EQ(chmod(restored.c_str(), 0666), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    ASSERT_EQ(chmod(Folder.Path().c_str(), 0755), 0);
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::exit(100);
            std::exit(Unpack(PackedName, restored));
        },
        testing::ExitedWithCode(zkeNone), "");
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(ReadFile(restored), Source);
}

// "cat p > out & vormi d ... /1:p": the reader may open the pipe a moment
// after the run does.
TEST_F(ZkReplaceTest, ANamedPipeWhoseReaderComesLateGetsTheData) {
    const std::string pipe = Folder.Path("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    Bytes received;
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const int fd = open(pipe.c_str(), O_RDONLY);
        char block[4096];
        for (ssize_t got; (got = read(fd, block, sizeof block)) > 0;) received.insert(received.end(), block, block + got);
        close(fd);
    });
    EXPECT_EQ(Unpack(PackedName, pipe), zkeNone);
    reader.join();
    EXPECT_EQ(received, Source);
}

}  // namespace

}  // namespace vormi
