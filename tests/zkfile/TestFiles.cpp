#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace vormi {

TempFolder::TempFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    std::error_code error;
    for (int attempt = 0; attempt < 100 && Root.empty(); ++attempt) {
        const auto path = std::filesystem::temp_directory_path() / ("zkfile-test-" + std::to_string(random()));
        // create_directory is false for a folder that is already there.
        if (std::filesystem::create_directory(path, error)) Root = path.string();
    }
    if (Root.empty()) ADD_FAILURE() << "cannot create a temporary folder";
}

std::string TempFolder::Path(const std::string& name) const { return (std::filesystem::path(Root) / name).string(); }

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

void WriteFile(const std::string& name, const Bytes& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << name;
}

Bytes ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& name) {
    std::error_code error;
    return std::filesystem::exists(name, error);
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
