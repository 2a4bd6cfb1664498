// Unpacking an arbitrary compressed file, once with buffers of 1000 bytes and
// once with 65535: both must record the same error code (or both succeed with
// the same restored bytes), and neither may crash or hang.
//
// The one legitimate difference: an information block longer than the small
// buffer's free space is refused by it (13) where the large one goes on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "vormi/platform/FileMeta.h"
#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/WholeFiles.h"
#include "vormi/zkfile/ZkFile.h"
#include "vormi/zkfile/ZkFormat.h"

using namespace vormi;

using fuzz::Require;

namespace {

constexpr uint32_t kSmallBuffer = 1000;
constexpr uint32_t kLargeBuffer = 65535;

// In memory where the system has such a folder and TMPDIR names no other: on
// ext4, creating a just-written file afresh by truncation forces it to disk,
// and the target then spent most of its time waiting (114 runs/s in /tmp,
// 600 in /dev/shm).
std::filesystem::path TemporaryRoot() {
    std::error_code ignored;
    if (std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", ignored)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// One ZkFile and its own restored file, kept for the whole process as the
// bench keeps its object.
struct Unpacker {
    Unpacker(uint32_t bufferSize, std::string restoredName) : File(bufferSize), Restored(std::move(restoredName)) {
        Require(File.InitSucceeded(), "cannot allocate the buffers");
        File.SetFlag(PermitOverwriteRestored);
    }

    uint8_t Run(const std::string& packedName) {
        // The stored attributes may have made the last restored file read-only,
        // and a read-only file cannot be created afresh.
        if (platform::FileExists(Restored)) platform::SetFileAttributesOf(Restored, platform::kAttrArchive);
        File.Unpack(packedName, Restored);
        return File.GetError();
    }

    ZkFile File;
    std::string Restored;
};

// The folder, made once per process and removed with its files at the end.
struct Workplace {
    testsupport::TempFolder Folder{"vormi-fuzz", TemporaryRoot()};
    std::string Packed = Folder / "packed._tx";
    Unpacker Small{kSmallBuffer, Folder / "small.!tx"};
    Unpacker Large{kLargeBuffer, Folder / "large.!tx"};
};

bool BlockTooLongForSmallBuffer(const uint8_t* data, size_t size) {
    if (size < ZkHeaderSize + ZkBlockLengthSize) return false;
    return LoadLe16(data + ZkHeaderSize) > kSmallBuffer - ZkBlockLengthSize;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Workplace workplace;
    Require(testsupport::WriteWholeFile(workplace.Packed, std::span<const uint8_t>(data, size)),
            "cannot write the compressed file");
    const uint8_t small = workplace.Small.Run(workplace.Packed);
    const uint8_t large = workplace.Large.Run(workplace.Packed);
    const bool legitimate = small == zkeHeaderBufferSmall && BlockTooLongForSmallBuffer(data, size);
    Require(small == large || legitimate, "the buffer size changed the outcome of an unpack");
    if (small == zkeNone && large == zkeNone) {
        const fuzz::Bytes restored = testsupport::ReadWholeBytes(workplace.Small.Restored);
        Require(restored == testsupport::ReadWholeBytes(workplace.Large.Restored),
                "the buffer size changed the restored bytes");
        Require(restored.size() == workplace.Small.File.Info.Size, "the restored file has not the stored size");
    }
    return 0;
}
