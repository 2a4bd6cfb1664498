// Pack and unpack through real files: every size class around the buffer
// size, several buffer sizes and halving periods; contents, attributes and
// date must come back.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "TestFiles.h"
#include "vormi/platform/FileMeta.h"

namespace vormi {

namespace {

struct RoundTrip {
    uint8_t PackError;
    uint8_t UnpackError;
    Bytes Restored;
    uint32_t Attributes;
    uint32_t Stamp;
};

RoundTrip PackAndUnpack(const Bytes& source, uint32_t bufferSize, uint32_t halvingPeriod, uint32_t attributes) {
    TempFolder folder;
    const std::string sourceName = folder.Path("source.bin");
    WriteFile(sourceName, source);
    EXPECT_TRUE(platform::SetFileDosStamp(sourceName, ExampleStamp));
    EXPECT_TRUE(platform::SetFileAttributesOf(sourceName, attributes));

    RoundTrip result{};
    Packer packer(bufferSize, halvingPeriod);
    packer.File.Pack(sourceName, folder.Path("packed.zk"));
    result.PackError = packer.File.GetError();
    // A fresh object, as a second run of the program would unpack.
    Packer unpacker(bufferSize, halvingPeriod);
    unpacker.File.Unpack(folder.Path("packed.zk"), folder.Path("restored.bin"));
    result.UnpackError = unpacker.File.GetError();
    result.Restored = ReadFile(folder.Path("restored.bin"));
    result.Attributes = platform::FileAttributesOf(folder.Path("restored.bin"));
    result.Stamp = platform::GetFileDosStamp(folder.Path("restored.bin"));
    return result;
}

void ExpectRoundTrip(const Bytes& source, uint32_t bufferSize, uint32_t halvingPeriod,
                     uint32_t attributes = platform::kAttrArchive) {
    SCOPED_TRACE(testing::Message() << "size " << source.size() << ", buffer " << bufferSize << ", period "
                                    << halvingPeriod);
    const RoundTrip result = PackAndUnpack(source, bufferSize, halvingPeriod, attributes);
    ASSERT_EQ(result.PackError, zkeNone);
    ASSERT_EQ(result.UnpackError, zkeNone);
    ASSERT_EQ(result.Restored.size(), source.size());
    for (size_t i = 0; i < source.size(); ++i) ASSERT_EQ(result.Restored[i], source[i]) << "first difference at " << i;
    EXPECT_EQ(result.Attributes, attributes);
    EXPECT_EQ(result.Stamp, ExampleStamp);
}

class ZkRoundTripTest : public testing::TestWithParam<std::tuple<uint32_t, uint32_t>> {};

TEST_P(ZkRoundTripTest, SizesAroundTheBufferSize) {
    UseUtc();
    const auto [bufferSize, halvingPeriod] = GetParam();
    for (const uint32_t size : {0u, 1u, bufferSize - 1, bufferSize, bufferSize + 1, 3 * bufferSize + 17}) {
        ExpectRoundTrip(MakeData(size, size), bufferSize, halvingPeriod);
    }
}

INSTANTIATE_TEST_SUITE_P(BuffersAndPeriods, ZkRoundTripTest,
                         testing::Combine(testing::Values(1000u, 1001u, 65535u, 1u << 20),
                                          testing::Values(0u, 1281u, 5000u, 65536u)));

TEST(ZkRoundTripLargeTest, SeveralMegabytes) {
    UseUtc();
    const Bytes source = MakeData(5'000'000, 7);
    ExpectRoundTrip(source, 65535, 0);
    ExpectRoundTrip(source, 1000, 5000);
}

// Long runs of one value make the adaptive model halve many times.
TEST(ZkRoundTripLargeTest, RunsAndAllByteValues) {
    UseUtc();
    Bytes source(300'000, 'z');
    for (int i = 0; i < 256 * 40; ++i) source.push_back(static_cast<uint8_t>(i));
    ExpectRoundTrip(source, 1000, 0);
    ExpectRoundTrip(source, 65535, 65536);
}

TEST(ZkRoundTripLargeTest, AReadOnlySourceComesBackReadOnlyWithItsDate) {
    UseUtc();
    ExpectRoundTrip(MakeData(5000), 65535, 0, platform::kAttrArchive | platform::kAttrReadOnly);
}

}  // namespace

}  // namespace vormi
