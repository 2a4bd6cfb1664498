// Damaged compressed files: cut at every offset, or with random bytes changed.
// Each must end in an error code, never a crash or a read out of bounds.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TestFiles.h"

namespace vormi {

namespace {

TEST(ZkCorruptionTest, TruncationAtEveryOffsetIsAnError) {
    TempFolder folder;
    const std::string name = "n.txt";
    const Bytes packed = PackBytes(folder, name, MakeData(300));
    const size_t streamStart = 55 + 15 + name.size();
    for (size_t cut = 0; cut < packed.size(); ++cut) {
        const uint8_t error = UnpackBytes(folder, Bytes(packed.begin(), packed.begin() + cut), "restored", 1000);
        // The coded stream and the marker are cut: the marker cannot be read.
        const uint8_t expected = cut < streamStart ? zkeHeaderRead : zkeEndMarkerRead;
        ASSERT_EQ(error, expected) << "cut at " << cut << " of " << packed.size();
    }
}

TEST(ZkCorruptionTest, RandomlyChangedBytesNeverCrash) {
    TempFolder folder;
    const Bytes packed = PackBytes(folder, "r.bin", MakeData(4000));
    std::mt19937 random(42);
    int failures = 0;
    for (int round = 0; round < 300; ++round) {
        Bytes damaged = packed;
        const int changes = 1 + round % 4;
        for (int i = 0; i < changes; ++i) {
            damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        }
        // Small buffers make the decoder cross many block boundaries.
        const uint8_t error = UnpackBytes(folder, damaged, "restored", 1000);
        ASSERT_LE(error, zkeEndMarkerRead);
        failures += error != zkeNone;
    }
    EXPECT_GT(failures, 0);
}

}  // namespace

}  // namespace vormi
