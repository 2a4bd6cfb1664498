#include "vormi/platform/FileMeta.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "vormi/platform/DosStamp.h"

namespace vormi::platform {
namespace {

constexpr char kSeparator = '\\';

// A handle for looking at a file or folder without reading or writing it.
class QueryHandle {
public:
    explicit QueryHandle(const std::string& name)
        : Handle_(CreateFileA(name.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    ~QueryHandle() {
        if (IsOpen()) CloseHandle(Handle_);
    }
    QueryHandle(const QueryHandle&) = delete;
    QueryHandle& operator=(const QueryHandle&) = delete;

    bool IsOpen() const { return Handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return Handle_; }
    bool Describe(BY_HANDLE_FILE_INFORMATION& info) const {
        return IsOpen() && GetFileInformationByHandle(Handle_, &info) != 0;
    }

private:
    HANDLE Handle_;
};

bool IsFolderAttribute(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// The network form of a full name on a drive mapped to a share; empty when
// the drive is local or the question cannot be answered.
std::string UniversalName(const std::string& fullName) {
    std::vector<char> buffer(1024);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD result = WNetGetUniversalNameA(fullName.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
        if (result == ERROR_MORE_DATA && size > buffer.size()) {
            buffer.resize(size);
            continue;
        }
        if (result != NO_ERROR) return {};
        const auto* info = reinterpret_cast<const UNIVERSAL_NAME_INFOA*>(buffer.data());
        return info->lpUniversalName != nullptr ? std::string(info->lpUniversalName) : std::string{};
    }
}

bool StartsWithDriveLetter(const std::string& name) {
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

size_t LastDelimiter(std::string_view name) { return name.find_last_of("\\:"); }

}  // namespace

char FolderSeparator() { return kSeparator; }

bool IsFolderDelimiter(char c) { return c == kSeparator || c == ':'; }

bool FileExists(const std::string& name) {
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !IsFolderAttribute(attributes);
}

bool RegularFileExists(const std::string& name) {
    const QueryHandle file(name);
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(file.Get()) == FILE_TYPE_DISK && file.Describe(info) &&
           !IsFolderAttribute(info.dwFileAttributes);
}

bool SameFile(const std::string& first, const std::string& second) {
    const QueryHandle a(first), b(second);
    BY_HANDLE_FILE_INFORMATION infoA{}, infoB{};
    return a.Describe(infoA) && b.Describe(infoB) && infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

uint32_t FileAttributesOf(const std::string& name) {
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
}

bool SetFileAttributesOf(const std::string& name, uint32_t attributes) {
    return SetFileAttributesA(name.c_str(), attributes) != 0;
}

uint32_t GetFileDosStamp(const std::string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data) || IsFolderAttribute(data.dwFileAttributes))
        return 0;
    FILETIME local{};
    SYSTEMTIME fields{};
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &fields)) return 0;
    // Windows refuses years the stamp cannot hold; Wine clamps them to 1980,
    // so the range is checked here for both.
    if (fields.wYear < 1980 || fields.wYear > 2107 || !FileTimeToDosDateTime(&local, &date, &time)) return 0;
    return (static_cast<uint32_t>(date) << 16) | time;
}

bool SetFileDosStamp(const std::string& name, uint32_t stamp) {
    // The system documents no check of out-of-calendar fields; such a stamp
    // is refused here, as the header promises, before the file is opened.
    if (!IsValidDosStamp(stamp)) return false;
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME local{}, universal{};
    const bool ok = DosDateTimeToFileTime(static_cast<WORD>(stamp >> 16), static_cast<WORD>(stamp), &local) &&
                    LocalFileTimeToFileTime(&local, &universal) && SetFileTime(file, nullptr, nullptr, &universal);
    CloseHandle(file);
    return ok;
}

std::string FullName(const std::string& name) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        char* namePart = nullptr;
        const DWORD length =
            GetFullPathNameA(name.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &namePart);
        if (length == 0) return name;
        if (length < buffer.size()) break;
        buffer.resize(length + 1);
    }
    std::string full(buffer.data());
    if (StartsWithDriveLetter(full)) {
        if (std::string universal = UniversalName(full); !universal.empty()) return universal;
    }
    return full;
}

std::string_view NameWithoutFolder(std::string_view name) {
    const size_t last = LastDelimiter(name);
    return last == std::string_view::npos ? name : name.substr(last + 1);
}

std::string_view FolderOf(std::string_view name) {
    const size_t last = LastDelimiter(name);
    return last == std::string_view::npos ? std::string_view{} : name.substr(0, last + 1);
}

}  // namespace vormi::platform
