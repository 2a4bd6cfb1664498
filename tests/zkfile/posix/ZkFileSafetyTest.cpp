// Safety against what only POSIX systems offer: symbolic links, named pipes,
// device and /proc files, and sources that change while they are packed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "ZkFileSafetyFixture.h"
#include "vormi/platform/Process.h"

namespace vormi {

namespace {

// sl links to a folder elsewhere, so sl/.. is that folder's parent for the
// system, while the text alone reads it as the folder holding sl.
TEST_F(ZkFileSafetyTest, RestoredNameThroughALinkAndDotDotIsTheFileTheSystemOpens) {
    ASSERT_EQ(mkdir(Folder.Path("far").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(Folder.Path("far/away").c_str(), 0755), 0);
    ASSERT_EQ(symlink(Folder.Path("far/away").c_str(), Folder.Path("sl").c_str()), 0);

    EXPECT_EQ(Unpack(PackedName, Folder.Path("sl/../packed.zk")), zkeNone);
    EXPECT_EQ(ReadFile(PackedName), Packed);
    EXPECT_EQ(ReadFile(Folder.Path("far/packed.zk")), Source);

    EXPECT_EQ(Unpack(PackedName, Folder.Path("sl/../source")), zkeNone);
    EXPECT_EQ(ReadFile(SourceName), Source);
    EXPECT_EQ(ReadFile(Folder.Path("far/source")), Source);
    EXPECT_EQ(File.FullName, Folder.Path("far/source"));
}

// Attributes and date go only to a regular file: a pipe named as the restored
// file gets the bytes when it is read, and is never made read-only or re-dated.
TEST_F(ZkFileSafetyTest, MetadataGoesOnlyToARegularRestoredFile) {
    const Bytes small = MakeData(3000);
    WriteFile(SourceName, small);
    ASSERT_TRUE(platform::SetFileDosStamp(SourceName, ExampleStamp));
    MakeReadOnly(SourceName);
    ASSERT_EQ(Pack(SourceName, PackedName), zkeNone);

    const std::string pipe = Folder.Path("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    struct stat before {};
    ASSERT_EQ(stat(pipe.c_str(), &before), 0);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(Unpack(PackedName, pipe), zkeNone);  // the pipe holds the few kilobytes
    Bytes received(small.size() + 1);
    EXPECT_EQ(read(reader, received.data(), received.size()), static_cast<ssize_t>(small.size()));
    received.resize(small.size());
    EXPECT_EQ(received, small);
    close(reader);
    struct stat after {};
    ASSERT_EQ(stat(pipe.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_NE(platform::GetFileDosStamp(pipe), ExampleStamp);

    EXPECT_EQ(Unpack(PackedName, Folder.Path("regular")), zkeNone);
    EXPECT_TRUE(IsReadOnly(Folder.Path("regular")));
    EXPECT_EQ(platform::GetFileDosStamp(Folder.Path("regular")), ExampleStamp);
}

// Only a regular file says by its size how much it holds.
TEST_F(ZkFileSafetyTest, SourcesThatAreNotRegularFilesAreRefused) {
    ASSERT_EQ(mkfifo(Folder.Path("pipe").c_str(), 0644), 0);
    for (const std::string& source :
         {Folder.Path("pipe"), std::string("/dev/null"), std::string("/proc/self/status")}) {
        const std::string out = Folder.Path("out.zk");
        EXPECT_EQ(Pack(source, out), zkeSourceOpen) << source;
        EXPECT_FALSE(Exists(out)) << source;
        EXPECT_FALSE(File.PlainFile.IsOpen()) << source;
    }
}

// Endless sources. Packed in a child whose files may not grow past 16 MB, so
// that a regression ends in a failed write instead of a full disk.
TEST_F(ZkFileSafetyTest, EndlessSourcesAreRefused) {
    for (const char* source : {"/dev/zero", "/dev/urandom"}) {
        const std::string out = Folder.Path("endless.zk");
        EXPECT_EXIT(
            {
                LimitFileSize(16u << 20);
                std::exit(Pack(source, out));
            },
            testing::ExitedWithCode(zkeSourceOpen), "")
            << source;
        EXPECT_FALSE(Exists(out)) << source;
    }
}

// A named pipe that nobody reads is refused at once; waiting for a reader, or
// reading it itself, the run would block for ever. Each run is in a child
// that an alarm ends, so that a run that blocks fails the test.
TEST_F(ZkFileSafetyTest, ANamedPipeNobodyReadsIsRefusedAtOnce) {
    const std::string pipe = Folder.Path("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EXIT(
        {
            alarm(60);
            std::exit(Unpack(PackedName, pipe));
        },
        testing::ExitedWithCode(zkeRestoredCreate), "");
    EXPECT_EXIT(
        {
            alarm(60);
            std::exit(Pack(SourceName, pipe));
        },
        testing::ExitedWithCode(zkePackedCreate), "");
}

// A pipe whose reader leaves mid-way, as "vormi d ... /1:/dev/stdout | head"
// makes it: the write fails with error 19 and the unpack ends. The pipe lives
// only in the child, so that the reader's leaving leaves none.
TEST_F(ZkFileSafetyTest, AnUnpackIntoAPipeWhoseReaderLeftEndsWithError19) {
    EXPECT_EXIT(
        {
            alarm(60);
            platform::IgnoreBrokenPipes();  // as the program does
            int ends[2];
            if (pipe(ends) != 0) std::exit(100);
            const std::string target = "/proc/self/fd/" + std::to_string(ends[1]);
            File.SetFlag(PermitOverwriteRestored);
            std::exit(UnpackWhileWriting(File, PackedName, target, [&] {
                close(ends[0]);
                close(ends[1]);
            }));
        },
        testing::ExitedWithCode(zkeRestoredWrite), "");
}

// The source changed between its opening and its reading.
class ChangingSourceTest : public ZkFileSafetyTest {
protected:
    template <typename Change>
    uint8_t PackWhileChanging(Change change) {
        return PackWhileWriting(File, SourceName, PackedName, change);
    }
};

TEST_F(ChangingSourceTest, AGrowingSourceIsPackedAtTheSizeItHadWhenOpened) {
    const Bytes more = MakeData(70000, 2);
    EXPECT_EQ(PackWhileChanging([&] {
                  Bytes grown = Source;
                  grown.insert(grown.end(), more.begin(), more.end());
                  WriteFile(SourceName, grown);
              }),
              zkeNone);
    EXPECT_EQ(Unpack(PackedName, Folder.Path("restored")), zkeNone);
    EXPECT_EQ(ReadFile(Folder.Path("restored")), Source);
}

TEST_F(ChangingSourceTest, ASourceThatEndsEarlyIsAFailedRead) {
    EXPECT_EQ(PackWhileChanging([&] { WriteFile(SourceName, Bytes(Source.begin(), Source.begin() + 1000)); }),
              zkeSourceRead);
    EXPECT_EQ(PackWhileChanging([&] { WriteFile(SourceName, {}); }), zkeSourceRead);
}

}  // namespace

}  // namespace vormi
