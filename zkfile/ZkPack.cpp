// Packing: source file -> header, information block, coded stream, end marker.
#include <cstdint>

#include "platform/FileMeta.h"
#include "zkfile/ZkFile.h"

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
    } else if (const uint64_t size = PlainFile.Size(); size > UINT32_MAX) {
        // The information block records the size in 32 bits: such a file
        // would pack "successfully" into something that never unpacks.
        PlainFile.Close();
        SetError(zkeSourceOpen);
    } else {
        Info.Size = static_cast<uint32_t>(size);
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
    if (PackedFile.Create() != 0) {
        SetError(zkePackedCreate);
        return;
    }
    SetFlag(PackedOpen);
    WriteHeader();
}

void ZkFile::SetName(const std::string& sourceName) {
    Name = platform::NameWithoutFolder(sourceName).substr(0, ZkMaxNameLength);
}

void ZkFile::FlushPacked() {
    WriteBuf.WriteTo(PackedFile);
    if (WriteBuf.HasFailed()) SetError(zkePackedWrite);
}

uint32_t ZkFile::ReadSource() {
    ReadBuf.FillFrom(PlainFile);
    if (ReadBuf.HasFailed()) SetError(zkeSourceRead);
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
