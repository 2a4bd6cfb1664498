#include "vormi/zkfile/ZkFile.h"

#include "vormi/zkfile/ZkFormat.h"

namespace vormi {

ZkFile::ZkFile(uint32_t bufferSize) { Init(bufferSize); }

ZkFile::~ZkFile() { Done(); }

bool ZkFile::Init(uint32_t size) {
    ReadBuf.Alloc(size);
    ReadBuf.SetMark(0);
    WriteBuf.Alloc(size);
    Options = 0;
    Info.Attributes = 0;
    Info.Date = 0;
    Info.Size = 0;
    Version = ZkFormatVersion;
    if (InitSucceeded()) {
        SetError(zkeNone);
        // The codec is constructed afresh only once both buffers exist.
        static_cast<ZkCodec&>(*this) = ZkCodec();
        return true;
    }
    Done();
    SetError(zkeNoBufferMemory);
    return false;
}

bool ZkFile::InitSucceeded() const { return ReadBuf.ValidCapacity() != 0 && WriteBuf.ValidCapacity() != 0; }

void ZkFile::Done() {
    ZkCodec::Done();
    CloseAll();
    ReadBuf.Release();
    WriteBuf.Release();
}

// Both buffers are checked, not only the input one: the steps reach the output
// block through RequireData, which would stop the program if it were missing.
// The halving period and the caller's permissions survive the new Init: losing
// them wrote a header with another limit than the one the caller asked for,
// and refused an overwrite the caller had permitted.
void ZkFile::EnsureBuffers() {
    if (InitSucceeded()) return;
    const uint32_t halvingPeriod = HalvingPeriod;
    const uint8_t permissions = Options & (1u << PermitOverwritePacked | 1u << PermitOverwriteRestored);
    if (!Init(ZkFallbackBufferSize)) return;
    HalvingPeriod = halvingPeriod;
    ResetForEncoding();  // the header carries the limit of this period
    Options = permissions;
}

bool ZkFile::BuffersReady() {
    if (InitSucceeded()) return true;
    SetError(zkeBuffersMissing);
    return false;
}

bool ZkFile::HasFlag(uint8_t member) const { return member < 8 && (Options >> member & 1) != 0; }

void ZkFile::SetFlag(uint8_t member) {
    if (member < 8) Options = static_cast<uint8_t>(Options | 1u << member);
}

void ZkFile::ClearFlag(uint8_t member) {
    if (member < 8) Options = static_cast<uint8_t>(Options & ~(1u << member));
}

void ZkFile::SetError(uint8_t code) {
    if (code == zkeNone || Error == zkeNone) Error = static_cast<ZkError>(code);
}

}  // namespace vormi
