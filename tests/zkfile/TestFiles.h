// Real files for the file layer's tests: a private temporary folder, whole-file
// reads and writes, and packing helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"
#include "vormi/zkfile/ZkFile.h"

namespace vormi {

using Bytes = std::vector<uint8_t>;

using testsupport::Exists;
using testsupport::TempFolder;

// Whole files; a write that fails fails the test.
void WriteFile(const std::string& name, const Bytes& bytes);
inline Bytes ReadFile(const std::string& name) { return testsupport::ReadWholeBytes(name); }

// Deterministic test data: a skewed text-like start that compresses and a
// uniform tail that does not, so both short and long codes occur.
Bytes MakeData(uint32_t size, uint32_t seed = 1);

// The stamp 2025-01-01 13:00:00 local, as the worked example uses it.
inline constexpr uint32_t ExampleStamp = 0x5A216C00;

// Makes local time UTC for the process, so that stamps map to fixed times
// (a fixed zone on Windows, where the test run sets it).
void UseUtc();

// A ZkFile with the given buffer size and halving period, reset as the bench does.
struct Packer {
    Packer(uint32_t bufferSize, uint32_t halvingPeriod = 0);
    ZkFile File;
};

// Packs bytes stored as a source named sourceName in folder and returns the
// compressed file's bytes; fails the test on any error.
Bytes PackBytes(const TempFolder& folder, const std::string& sourceName, const Bytes& source,
                uint32_t bufferSize = 65535, uint32_t halvingPeriod = 0);
// Unpacks the given compressed bytes into folder/restoredName with overwriting
// permitted; returns the error code.
uint8_t UnpackBytes(const TempFolder& folder, const Bytes& packed, const std::string& restoredName,
                    uint32_t bufferSize = 65535, uint32_t halvingPeriod = 0);

// A source of 20000 bytes packed into packed.zk in a fresh folder, and one
// ZkFile with 65535-byte buffers to pack and unpack with.
class PackedSourceTest : public testing::Test {
protected:
    void SetUp() override;

    uint8_t Pack(const std::string& source, const std::string& packed, bool permit = true);
    uint8_t Unpack(const std::string& packed, const std::string& restored, bool permit = true);

    TempFolder Folder;
    Bytes Source;
    Bytes Packed;
    std::string SourceName;
    std::string PackedName;
    ZkFile File{65535};
};

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool UnderAddressSanitizer = true;
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif

// POSIX only: caps the size of files the current process (a death-test child)
// writes; a write beyond it fails instead of raising a signal.
void LimitFileSize(uint64_t bytes);

// POSIX only: caps the address space of the current process (a death-test
// child) so that an allocation of about extraBytes more than it already uses
// fails. POSIX only.
void LimitAddressSpace(uint64_t extraBytes);
// POSIX only: whether such a cap makes a large allocation fail here; qemu's
// user mode, which runs the tests for other processors, accepts the cap and
// ignores it.
bool AddressSpaceCanBeCapped();

}  // namespace vormi
