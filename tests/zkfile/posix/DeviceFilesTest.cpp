// Failures that only the system's device files produce on demand, and
// allocation failures under a capped address space.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "TestFiles.h"
#include "vormi/platform/FileMeta.h"
#include "vormi/platform/Files.h"
#include "vormi/zkfile/FileBuf.h"
#include "vormi/zkfile/ZkFormat.h"

namespace vormi {

namespace {

using ZkOpenErrorsTest = PackedSourceTest;

TEST(FileBufDeviceTest, WriteToAFullDeviceIsShort) {
    platform::File full;
    full.Assign("/dev/full");
    ASSERT_EQ(full.Create(), 0);
    FileBuf buf{};
    buf.Alloc(1000);
    buf.SetFilled(20);
    buf.WriteTo(full);
    EXPECT_EQ(buf.Status, fbsShortWrite);
    buf.Release();
}

TEST(FileBufTest, FailedAllocationLeavesStatus1AndAnInvalidBuffer) {
    if (UnderAddressSanitizer) GTEST_SKIP() << "the sanitizer's allocator reports huge allocations itself";
    if (!AddressSpaceCanBeCapped()) GTEST_SKIP() << "the address space cannot be capped here (an emulator)";
    EXPECT_EXIT(
        {
            LimitAddressSpace(64u << 20);
            FileBuf buf{};
            buf.Alloc(2147482623u);
            std::exit(buf.Status == fbsNoMemory && buf.ValidCapacity() == 0 && buf.Data == nullptr ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(ZkOpenErrorsTest, WritesThatFail) {
    ASSERT_TRUE(platform::FileExists("/dev/full"));
    EXPECT_EQ(Pack(SourceName, "/dev/full"), zkePackedWrite);

    struct stat before {};
    ASSERT_EQ(stat("/dev/full", &before), 0);
    EXPECT_EQ(Unpack(PackedName, "/dev/full"), zkeRestoredWrite);
    struct stat after {};
    ASSERT_EQ(stat("/dev/full", &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);  // a failed unpack dresses nothing
}

// A file of the kernel's that reports more bytes than it gives.
TEST_F(ZkOpenErrorsTest, SourceReadThatFallsShort) {
    const std::string shortFile = "/sys/devices/system/cpu/online";
    platform::File probe;
    probe.Assign(shortFile);
    if (probe.OpenRead(platform::ReadSharing::DenyWrite) != 0 || probe.Size() <= ReadFile(shortFile).size()) {
        GTEST_SKIP() << "no file here whose size overstates its contents";
    }
    probe.Close();
    EXPECT_EQ(Pack(shortFile, Folder.Path("out.zk")), zkeSourceRead);
}

TEST(ZkInitTest, BufferAllocationFailureRecordsError1) {
    if (UnderAddressSanitizer) GTEST_SKIP() << "the sanitizer's allocator reports huge allocations itself";
    if (!AddressSpaceCanBeCapped()) GTEST_SKIP() << "the address space cannot be capped here (an emulator)";
    EXPECT_EXIT(
        {
            LimitAddressSpace(256u << 20);
            ZkFile file(1u << 30);
            const bool failed = !file.InitSucceeded() && file.GetError() == zkeNoBufferMemory &&
                                file.ReadBuf.DataPtr() == nullptr && file.WriteBuf.DataPtr() == nullptr;
            file.Pack("/nonexistent/source", "/nonexistent/packed");  // retries with 64000 bytes
            const bool retried = file.InitSucceeded() && file.GetError() == zkeSourceOpen;
            std::exit(failed && retried ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

// What "vormi cd /b:... /h:5000 /r:3" does when its buffers cannot be had: every
// repetition replaces the file of the one before, with the limit asked for.
TEST_F(ZkOpenErrorsTest, RepeatedRunsWithBuffersThatCannotBeAllocated) {
    if (UnderAddressSanitizer) GTEST_SKIP() << "the sanitizer's allocator reports huge allocations itself";
    if (!AddressSpaceCanBeCapped()) GTEST_SKIP() << "the address space cannot be capped here (an emulator)";
    const std::string restored = Folder.Path("restored");
    EXPECT_EXIT(
        {
            LimitAddressSpace(256u << 20);
            ZkFile file(1u << 30);
            file.HalvingPeriod = 5000;
            file.ResetForEncoding();
            file.SetFlag(PermitOverwritePacked);
            for (int run = 0; run < 3; ++run) {
                file.Pack(SourceName, PackedName);
                if (file.HasError()) std::exit(10 + file.GetError());
            }
            file.SetFlag(PermitOverwriteRestored);
            for (int run = 0; run < 3; ++run) {
                file.Unpack(PackedName, restored);
                if (file.HasError()) std::exit(40 + file.GetError());
            }
            std::exit(ReadFile(restored) == Source ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(LoadLe32(ReadFile(PackedName).data() + ZkLimitOffset), 5000u);
}

}  // namespace

}  // namespace vormi
