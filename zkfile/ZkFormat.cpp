// Writing and checking the header, the information block and the end marker.
#include "vormi/zkfile/ZkFormat.h"

#include <cstring>

#include "vormi/platform/FileMeta.h"

namespace vormi {

namespace {

// The 48 characters end in CR LF; the array's terminating NUL is the 49th byte.
constexpr char SignatureText[] = "ZK compressed. v1.0 Velmorandquistabrelonikast\r\n";
static_assert(sizeof(SignatureText) == ZkSignatureSize);

constexpr std::array<uint8_t, ZkHeaderSize> BuildHeaderTemplate() {
    std::array<uint8_t, ZkHeaderSize> header{};
    for (uint32_t i = 0; i < ZkSignatureSize; ++i) header[i] = static_cast<uint8_t>(SignatureText[i]);
    header[ZkVersionOffset] = ZkFormatVersion & 0xFF;
    header[ZkVersionOffset + 1] = ZkFormatVersion >> 8;
    return header;
}

}  // namespace

const std::array<uint8_t, ZkHeaderSize> ZkHeaderTemplate = BuildHeaderTemplate();

uint32_t StoreInfoBlock(uint8_t* out, const FileInfo& info, std::string_view name) {
    const auto nameLength = static_cast<uint8_t>(name.size());
    StoreLe16(out, static_cast<uint16_t>(nameLength + ZkMinBlockLength));
    StoreLe32(out + 2, info.Attributes);
    StoreLe32(out + 6, info.Date);
    StoreLe32(out + 10, info.Size);
    out[ZkNameLengthOffset] = nameLength;
    std::memmove(out + ZkInfoFixedSize, name.data(), nameLength);
    return nameLength + ZkInfoFixedSize;
}

bool ParseInfoBlock(const uint8_t* block, ZkInfoBlock& parsed) {
    parsed.BlockLength = LoadLe16(block);
    // A block too short for its fixed fields is refused before they are read.
    if (parsed.BlockLength < ZkMinBlockLength) return false;
    parsed.NameLength = block[ZkNameLengthOffset];
    if (parsed.NameLength + ZkMinBlockLength > parsed.BlockLength) return false;
    parsed.Attributes = LoadLe32(block + 2);
    parsed.Date = LoadLe32(block + 6);
    parsed.Size = LoadLe32(block + 10);
    parsed.Name = block + ZkInfoFixedSize;
    return true;
}

void ZkFile::WriteHeader() {
    uint8_t* header = WriteBuf.RequireData();
    std::memmove(header, ZkHeaderTemplate.data(), ZkHeaderSize);
    StoreLe32(header + ZkLimitOffset, GetHalveLimit());
    SetVersion(LoadLe16(ZkHeaderTemplate.data() + ZkVersionOffset));
    WriteBuf.SetFilled(ZkHeaderSize);
    if (NoError() && PackedFile.Position() == 0) {
        FlushPacked();
    } else {
        SetError(zkeNoHeader);
    }
}

void ZkFile::WriteInfo() {
    const uint32_t length = static_cast<uint32_t>(Name.size()) + ZkInfoFixedSize;
    // The header's bytes are still counted as held, so this is the capacity less 55.
    if (WriteBuf.FreeSpace() < length) {
        SetError(zkeHeaderTooLarge);
    } else {
        WriteBuf.SetFilled(StoreInfoBlock(WriteBuf.RequireData(), Info, Name));
    }
    if (NoError()) FlushPacked();
}

void ZkFile::ParseHeader() {
    if (HasError() || PackedFile.Position() != 0) {
        SetError(zkeNoHeader);
        return;
    }
    ReadBuf.Clear();
    ReadBuf.ReadExact(PackedFile, ZkHeaderSize);
    if (ReadBuf.HasFailed()) {
        SetError(zkeHeaderRead);
        return;
    }
    const uint8_t* header = ReadBuf.RequireData();
    if (std::memcmp(header, ZkHeaderTemplate.data(), ZkSignatureSize) != 0) {
        SetError(zkeBadHeader);
        return;
    }
    SetVersion(LoadLe16(header + ZkVersionOffset));
    if (GetVersion() != ZkFormatVersion) {
        SetError(zkeBadVersion);
    } else if (LoadLe32(header + ZkLimitOffset) != GetHalveLimit()) {
        // A file unpacks only with the limit it was packed with; it is not adopted.
        SetError(zkeBadHalveLimit);
    }
}

void ZkFile::ReadInfo() {
    if (HasError()) return;
    ReadBuf.Clear();
    ReadBuf.ReadExact(PackedFile, ZkBlockLengthSize);
    if (ReadBuf.HasFailed()) {
        SetError(zkeHeaderRead);
        return;
    }
    const uint32_t blockLength = LoadLe16(ReadBuf.RequireData());
    if (ReadBuf.FreeSpace() < blockLength) {
        SetError(zkeHeaderBufferSmall);
        return;
    }
    ReadBuf.ReadExact(PackedFile, blockLength);
    if (ReadBuf.HasFailed()) {
        SetError(zkeHeaderRead);
        return;
    }
    ZkInfoBlock block{};
    if (!ParseInfoBlock(ReadBuf.RequireData(), block)) {
        SetError(zkeBadHeader);
        return;
    }
    // Bytes after the name, if BlockLength leaves any, are skipped.
    Name.resize(block.NameLength);
    std::memmove(Name.data(), block.Name, block.NameLength);
    Info.Attributes = block.Attributes;
    Info.Date = block.Date;
    Info.Size = block.Size;
    Info.Remaining = block.Size;
}

void ZkFile::WriteEndMarker() {
    if (WriteBuf.ValidCapacity() < ZkEndMarkerSize) {
        SetError(zkeEndMarkerTooLarge);
    } else {
        StoreLe32(WriteBuf.RequireData(), ZkEndMarker);
        WriteBuf.SetFilled(ZkEndMarkerSize);
    }
    if (NoError()) FlushPacked();
}

void ZkFile::CheckEndMarker() {
    const uint32_t held = ReadBuf.Filled();
    if (held < ZkEndMarkerSize) {
        const uint32_t need = ZkEndMarkerSize - held;
        if (ReadBuf.FreeSpace() < need) {
            SetError(zkeEndMarkerTooLarge);
        } else if (ReadBuf.ReadExact(PackedFile, need) != need) {
            SetError(zkeEndMarkerRead);
        }
    }
    // Bytes after the marker are never looked at.
    if (ReadBuf.Filled() < ZkEndMarkerSize || LoadLe32(ReadBuf.RequireData()) != ZkEndMarker) SetError(zkeBadEndMarker);
}

std::string_view StoredName(std::string_view sourceName) {
    return platform::NameWithoutFolder(sourceName).substr(0, ZkMaxNameLength);
}

}  // namespace vormi
