// Closing the files of an operation and carrying the source's metadata over
// to the restored file.
#include "vormi/platform/FileMeta.h"
#include "vormi/zkfile/ZkFile.h"

namespace vormi {

int ZkFile::ClosePlain() {
    const int result = PlainFile.Close();
    // A failed unpack leaves its partial file as it is: dressing it with the
    // metadata in Info (possibly a read-only attribute from an earlier
    // operation) would only block the next attempt.
    if (result == 0 && HasFlag(RestoreOnClose) && NoError()) RestoreFileInfo(FullName, Info);
    ClearFlag(RestoreOnClose);
    return result;
}

int ZkFile::ClosePacked() {
    const int result = PackedFile.Close();
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
