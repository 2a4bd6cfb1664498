// Closing the files of an operation and carrying the source's metadata over
// to the restored file.
#include "vormi/platform/FileMeta.h"
#include "vormi/zkfile/ZkFile.h"

namespace vormi {

// A written file takes its target's place only when the operation succeeded;
// otherwise it is removed and the target stays as it was. A replacement that
// fails is a failed write (a failed close is not reported, as before).
int ZkFile::ClosePlain() {
    const bool replacing = PlainFile.IsReplacing();
    const int result = NoError() ? PlainFile.Commit() : PlainFile.Close();
    if (replacing && result != 0) SetError(zkeRestoredWrite);
    // Metadata goes only to the file of a successful unpack: dressing anything
    // else with the metadata in Info (possibly a read-only attribute from an
    // earlier operation) would only block the next attempt.
    if (result == 0 && HasFlag(RestoreOnClose) && NoError()) RestoreFileInfo(FullName, Info);
    // The read-only file that this unpack was to replace is still there.
    if (ReplacedAttributes != 0 && HasError()) platform::SetFileAttributesOf(FullName, ReplacedAttributes);
    ReplacedAttributes = 0;
    ClearFlag(RestoreOnClose);
    return result;
}

int ZkFile::ClosePacked() {
    const bool replacing = PackedFile.IsReplacing();
    const int result = NoError() ? PackedFile.Commit() : PackedFile.Close();
    if (replacing && result != 0) SetError(zkePackedWrite);
    ClearFlag(PackedOpen);
    return result;
}

void ZkFile::CloseAll() {
    ClosePlain();
    ClosePacked();
}

void ZkFile::GetFileInfo(const std::string& name, FileInfo& info) {
    info.Date = platform::GetFileDosStamp(name);
    info.Attributes = platform::FileAttributesOf(name);
}

void ZkFile::RestoreFileInfo(const std::string& name, const FileInfo& info) {
    // The date needs a write access that a read-only attribute would refuse.
    platform::SetFileDosStamp(name, info.Date);
    platform::SetFileAttributesOf(name, info.Attributes);
}

}  // namespace vormi
