// File metadata and names, in the forms the file layer and the bench expect:
// the Windows attribute word, local MS-DOS date and time stamps, full names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vormi::platform {

inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrFolder = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;

// "Here" below describes the POSIX implementation; "On Windows" the Win32 one.

// The platform's folder separator, written between folder and name: '/' here,
// '\' on Windows.
char FolderSeparator();
// True for the characters that end a name's folder part: '/' here; '\' and
// ':' on Windows, where a '/' is an ordinary character of a name.
bool IsFolderDelimiter(char c);

// True for an existing file that is not a folder.
bool FileExists(const std::string& name);
// True for an existing regular file: not a folder, device, pipe or socket
// (on Windows: a file of type FILE_TYPE_DISK that is not a folder).
bool RegularFileExists(const std::string& name);
// True when both names denote the same existing file.
bool SameFile(const std::string& first, const std::string& second);

// The attribute word; 0 on failure. Here: 0x20 for a file, | 0x01 when the
// owner may not write it, 0x10 for a folder. On Windows: the system's own word
// (GetFileAttributesA).
uint32_t FileAttributesOf(const std::string& name);
// Here: read-only clears every write permission; without it the owner's write
// permission is given back. On Windows: the word is given to the system as it
// is (SetFileAttributesA). Returns false on failure.
bool SetFileAttributesOf(const std::string& name, uint32_t attributes);

// Last modification time as a local MS-DOS stamp (date in the high 16 bits,
// 2-second resolution); 0 on failure, for a folder, or outside 1980..2107.
uint32_t GetFileDosStamp(const std::string& name);
// Sets only the last modification time, through an open with write access
// (so it fails on a read-only file). A stamp of 0 or an invalid stamp changes
// nothing. Returns false on failure.
bool SetFileDosStamp(const std::string& name, uint32_t stamp);

// The name made absolute against the current folder, denoting the file the
// system would open for the name as given; the file need not exist.
// Here: the folder part, when it exists, is resolved by the system (symbolic
// links followed, ".." taken from where they lead) and the last component is
// kept as written; otherwise "." and ".." are resolved by the text alone
// (".." stops at "/"), repeated slashes collapse, and a name ending in a slash
// keeps one. Without a current folder the name comes back as given.
// On Windows: GetFullPathNameA, which normalises "." and ".." by the text just
// as the system does when it opens a name, and reads '/' as '\'; a name on a
// drive mapped to a network share then takes its network (UNC) form.
std::string FullName(const std::string& name);
// The part after the last folder delimiter; the whole name if there is none.
std::string_view NameWithoutFolder(std::string_view name);
// Everything up to and including the last folder delimiter; empty if none.
std::string_view FolderOf(std::string_view name);

}  // namespace vormi::platform
