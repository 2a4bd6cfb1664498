// Packing: source file -> header, information block, coded stream, end marker.
#include <algorithm>
#include <cstdint>

#include "vormi/platform/FileMeta.h"
#include "vormi/zkfile/ZkFile.h"
#include "vormi/zkfile/ZkFormat.h"

namespace vormi {

void ZkFile::Pack(const std::string& sourceName, const std::string& packedName) {
    EnsureBuffers();
    if (!BuffersReady()) return;
    SetError(zkeNone);
    OpenSource(sourceName);
    if (HasError()) return;
    CreatePacked(packedName);
    if (NoError()) {
        SetName(sourceName);
        WriteInfo();
        if (NoError()) PackStream();
        if (NoError()) WriteEndMarker();
    }
    CloseAll();
}

void ZkFile::OpenSource(const std::string& name) {
    SetError(zkeNone);
    PlainFile.Assign(name);
    GetFileInfo(name, Info);
    if (PlainFile.OpenRead(platform::ReadSharing::DenyWrite) != 0) {
        SetError(zkeSourceOpen);
    } else if (const uint64_t size = PlainFile.Size(); !PlainFile.IsRegularFile() || size > UINT32_MAX) {
        // Only a regular file's size says how much it holds: a pipe, a device
        // or a file of /proc would pack "successfully" into a file that never
        // unpacks, or fill the disk. The information block records the size
        // in 32 bits, so a file of 4 GiB or more could not be unpacked either.
        PlainFile.Close();
        SetError(zkeSourceOpen);
    } else {
        Info.Size = static_cast<uint32_t>(size);
        Info.Remaining = Info.Size;
    }
    ClearFlag(RestoreOnClose);
}

void ZkFile::CreatePacked(const std::string& name) {
    SetError(zkeNone);
    PackedFile.Assign(name);
    if (!HasFlag(PermitOverwritePacked) && platform::FileExists(name)) {
        SetError(zkePackedExists);
        return;
    }
    // Written under a temporary name and put in place only once whole, so a
    // failed or interrupted pack leaves an existing compressed file as it was.
    if (PackedFile.CreateReplacing() != 0) {
        SetError(zkePackedCreate);
        return;
    }
    SetFlag(PackedOpen);
    WriteHeader();
}

void ZkFile::SetName(const std::string& sourceName) { Name = StoredName(sourceName); }

void ZkFile::FlushPacked() {
    WriteBuf.WriteTo(PackedFile);
    if (WriteBuf.HasFailed()) SetError(zkePackedWrite);
}

// Reads no further than the size the information block records: a source
// that grows meanwhile is packed as it was when it was opened, and one that
// ends early is a failed read, never a file whose stream is shorter than its
// recorded size.
uint32_t ZkFile::ReadSource() {
    const uint32_t wanted = std::min(ReadBuf.FreeSpace(), Info.Remaining);
    const uint32_t got = ReadBuf.ReadFrom(PlainFile, wanted);
    Info.Remaining -= got;
    if (ReadBuf.HasFailed() || (got == 0 && wanted > 0)) SetError(zkeSourceRead);
    const uint32_t held = ReadBuf.Filled();
    const uint32_t mark = ReadBuf.GetMark();
    return held > 0 && held <= mark ? mark + 1 : held;
}

uint32_t ZkFile::EncodeBlock() {
    uint32_t consumed = 0;
    uint32_t produced = 0;
    Encode(ReadBuf.RequireData(), ReadBuf.Filled(), consumed, WriteBuf.RequireData(), WriteBuf.ValidCapacity(),
           produced);
    ReadBuf.Consume(consumed);
    WriteBuf.SetFilled(produced);
    return produced;
}

// No error test inside: after a failed write the rest of the input is still
// coded, so that the buffer drains and the loop ends.
void ZkFile::EncodeBuffered() {
    do {
        EncodeBlock();
        FlushPacked();
    } while (!ReadBuf.IsDrained());
}

void ZkFile::PackStream() {
    ResetForEncoding();
    while (NoError() && ReadSource() > 0) EncodeBuffered();
    // With the input empty, this pass writes the pending bits as the last, partial byte.
    if (NoError()) EncodeBuffered();
}

}  // namespace vormi
