// Unpacking: compressed file -> restored file with the source's contents,
// attributes and date.
#include <algorithm>
#include <cstdint>

#include "vormi/platform/FileMeta.h"
#include "vormi/zkfile/ZkFile.h"

namespace vormi {

// The restored file is created only once the compressed file has shown a
// valid header and information block: a missing or foreign file named as the
// compressed one then leaves every other file as it was (a compressed file
// that an earlier pack made, say).
void ZkFile::Unpack(const std::string& packedName, const std::string& restoredName) {
    EnsureBuffers();
    if (!BuffersReady()) return;
    SetError(zkeNone);
    NameRestored(restoredName);
    if (HasError()) return;
    OpenPacked(packedName);
    if (NoError()) ReadInfo();
    if (NoError()) CreatePlain(packedName);
    if (NoError()) UnpackStream();
    if (NoError()) CheckEndMarker();
    CloseAll();
}

void ZkFile::NameRestored(const std::string& name) {
    SetError(zkeNone);
    FullName = platform::FullName(name);
    PlainFile.Assign(FullName);
    if (!HasFlag(PermitOverwriteRestored) && platform::FileExists(name)) SetError(zkeRestoredExists);
}

void ZkFile::CreatePlain(const std::string& packedName) {
    // Creating the restored file truncates it, so restoring onto the
    // compressed file itself would destroy it.
    if (platform::SameFile(FullName, packedName)) {
        SetError(zkeRestoredCreate);
        return;
    }
    // A permitted overwrite replaces a restored file that an earlier unpack
    // left read-only (it carries its source's attribute): this one file, and
    // only when it is a regular file.
    const uint32_t attributes = platform::FileAttributesOf(FullName);
    const bool readOnly = HasFlag(PermitOverwriteRestored) && (attributes & platform::kAttrReadOnly) != 0 &&
                          platform::RegularFileExists(FullName) &&
                          platform::SetFileAttributesOf(FullName, attributes & ~platform::kAttrReadOnly);
    // Written under a temporary name and put in place only once whole, so a
    // failed or interrupted unpack leaves an existing restored file as it was.
    if (PlainFile.CreateReplacing() != 0) {
        if (readOnly) platform::SetFileAttributesOf(FullName, attributes);
        SetError(zkeRestoredCreate);
        return;
    }
    ReplacedAttributes = readOnly ? attributes : 0;
    // Attributes and date go only to a regular file: a device or pipe named
    // as the restored file is written to, never dressed.
    if (PlainFile.IsRegularFile()) SetFlag(RestoreOnClose);
}

void ZkFile::OpenPacked(const std::string& name) {
    SetError(zkeNone);
    PackedFile.Assign(name);
    if (PackedFile.OpenRead(platform::ReadSharing::DenyWrite) != 0) {
        SetError(zkePackedOpen);
        return;
    }
    SetFlag(PackedOpen);
    ParseHeader();
    if (HasError()) ClosePacked();
}

void ZkFile::FlushPlain() {
    WriteBuf.WriteTo(PlainFile);
    if (WriteBuf.HasFailed()) SetError(zkeRestoredWrite);
}

uint32_t ZkFile::ReadPacked() {
    if (HasError()) return 0;
    if (!PackedFile.AtEnd()) {
        ReadBuf.FillFrom(PackedFile);
        if (ReadBuf.HasFailed()) SetError(zkePackedRead);
    }
    // Counts bytes left over from earlier passes too.
    return ReadBuf.Filled();
}

uint32_t ZkFile::DecodeBlock() {
    const uint32_t limit = std::min(WriteBuf.ValidCapacity(), Info.Remaining);
    uint32_t consumed = 0;
    uint32_t produced = 0;
    Decode(ReadBuf.RequireData(), ReadBuf.Filled(), consumed, WriteBuf.RequireData(), limit, produced);
    produced = std::min(produced, Info.Remaining);
    Info.Remaining -= produced;
    ReadBuf.Consume(consumed);
    WriteBuf.SetFilled(produced);
    return produced;
}

void ZkFile::DecodeBuffered() {
    do {
        DecodeBlock();
        FlushPlain();
    } while (!ReadBuf.IsDrained() && Info.Remaining != 0);
}

// ReadPacked runs before Remaining is tested, so the bytes after the coded
// stream (the end marker, when there is room) are already in ReadBuf when the
// loop ends, for an empty source too.
void ZkFile::UnpackStream() {
    ResetForDecoding();
    ReadBuf.Clear();
    while (ReadPacked() > 0 && Info.Remaining > 0) DecodeBuffered();
}

}  // namespace vormi
