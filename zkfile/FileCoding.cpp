#include "vormi/zkfile/FileCoding.h"

#include "vormi/zkfile/ZkFile.h"
#include "vormi/zkfile/ZkFormat.h"

namespace vormi {

namespace {

// A compressed-file object set up as the program sets up its own.
struct PreparedFile {
    ZkFile File{ZkDefaultBufferSize};
    explicit PreparedFile(uint32_t halvingLimit) {
        File.HalvingPeriod = halvingLimit;
        File.ResetForEncoding();
    }
};

}  // namespace

ZkError PackFile(const std::string& source, const std::string& packed, uint32_t halvingLimit) {
    PreparedFile prepared(halvingLimit);
    prepared.File.SetFlag(PermitOverwritePacked);
    prepared.File.Pack(source, packed);
    return static_cast<ZkError>(prepared.File.GetError());
}

ZkError UnpackFile(const std::string& packed, const std::string& restored, uint32_t halvingLimit) {
    PreparedFile prepared(halvingLimit);
    prepared.File.SetFlag(PermitOverwriteRestored);
    prepared.File.Unpack(packed, restored);
    return static_cast<ZkError>(prepared.File.GetError());
}

uint64_t PackedFileSize(std::string_view sourceName, uint64_t streamLength) {
    return uint64_t{ZkHeaderSize} + ZkInfoFixedSize + StoredName(sourceName).size() + streamLength + ZkEndMarkerSize;
}

}  // namespace vormi
