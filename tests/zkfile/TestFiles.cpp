#include "TestFiles.h"

#include <gtest/gtest.h>

#include <random>

namespace vormi {

void WriteFile(const std::string& name, const Bytes& bytes) {
    ASSERT_TRUE(testsupport::WriteWholeFile(name, bytes)) << name;
}

Bytes MakeData(uint32_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::geometric_distribution<int> skewed(0.15);
    Bytes data(size);
    for (uint32_t i = 0; i < size; ++i) {
        data[i] = i < size / 2 ? static_cast<uint8_t>('a' + skewed(random) % 40) : static_cast<uint8_t>(random());
    }
    return data;
}

Packer::Packer(uint32_t bufferSize, uint32_t halvingPeriod) : File(bufferSize) {
    File.HalvingPeriod = halvingPeriod;
    File.ResetForEncoding();
    File.SetFlag(PermitOverwritePacked);
    File.SetFlag(PermitOverwriteRestored);
}

Bytes PackBytes(const TempFolder& folder, const std::string& sourceName, const Bytes& source, uint32_t bufferSize,
                uint32_t halvingPeriod) {
    const std::string sourcePath = folder.Path(sourceName);
    WriteFile(sourcePath, source);
    Packer packer(bufferSize, halvingPeriod);
    packer.File.Pack(sourcePath, folder.Path(sourceName + ".zk"));
    EXPECT_EQ(packer.File.GetError(), zkeNone);
    return ReadFile(folder.Path(sourceName + ".zk"));
}

uint8_t UnpackBytes(const TempFolder& folder, const Bytes& packed, const std::string& restoredName, uint32_t bufferSize,
                    uint32_t halvingPeriod) {
    const std::string packedPath = folder.Path("input.zk");
    WriteFile(packedPath, packed);
    Packer unpacker(bufferSize, halvingPeriod);
    unpacker.File.Unpack(packedPath, folder.Path(restoredName));
    return unpacker.File.GetError();
}

void PackedSourceTest::SetUp() {
    UseUtc();
    Source = MakeData(20000);
    SourceName = Folder.Path("source");
    PackedName = Folder.Path("packed.zk");
    WriteFile(SourceName, Source);
    ASSERT_EQ(Pack(SourceName, PackedName), zkeNone);
    Packed = ReadFile(PackedName);
}

uint8_t PackedSourceTest::Pack(const std::string& source, const std::string& packed, bool permit) {
    File.ClearFlag(PermitOverwritePacked);
    if (permit) File.SetFlag(PermitOverwritePacked);
    File.Pack(source, packed);
    return File.GetError();
}

uint8_t PackedSourceTest::Unpack(const std::string& packed, const std::string& restored, bool permit) {
    File.ClearFlag(PermitOverwriteRestored);
    if (permit) File.SetFlag(PermitOverwriteRestored);
    File.Unpack(packed, restored);
    return File.GetError();
}

}  // namespace vormi
