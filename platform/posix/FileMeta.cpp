#include "vormi/platform/FileMeta.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "posix/ShareLocks.h"
#include "vormi/platform/DosStamp.h"

namespace vormi {

// The seconds-and-nanoseconds record of the file time calls.
using PosixTime = decltype(stat::st_mtim);

namespace platform {
namespace {

constexpr char kSeparator = '/';

bool StatName(const std::string& name, struct stat& info) { return stat(name.c_str(), &info) == 0; }

bool OwnerMayWrite(const struct stat& info) { return (info.st_mode & S_IWUSR) != 0; }

// Sets the modification time through an open with write access that lets
// others only read, as a Windows handle opened for this purpose would.
bool SetModificationTime(const std::string& name, time_t modified) {
    // Read access too, which the sharing claim needs for its lock.
    const int fd = open(name.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode) && OwnerMayWrite(info);
    if (ok && S_ISREG(info.st_mode)) ok = posix::ClaimSharing(fd, {.DeniesWrite = true, .HasWriteAccess = true}) == 0;
    if (ok) {
        // Access time first, then modification time; UTIME_OMIT keeps the access time.
        PosixTime times[2]{};
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = modified;
        ok = futimens(fd, times) == 0;
    }
    close(fd);
    return ok;
}

// The absolute name of the current folder, or empty when it has none (it
// was removed, or lies outside this process's root).
std::string CurrentFolder() {
    std::vector<char> folder(4096);
    while (getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE) return {};
        folder.resize(folder.size() * 2);
    }
    return folder.front() == kSeparator ? std::string(folder.data()) : std::string{};
}

// "." and ".." resolved by the text alone, repeated slashes collapsed; a name
// written as a folder keeps its final slash.
std::string LexicalFullName(std::string_view absolute, bool endsAsFolder) {
    std::vector<std::string_view> parts;
    std::string_view rest = absolute;
    while (!rest.empty()) {
        const size_t end = rest.find(kSeparator);
        const std::string_view part = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (const std::string_view part : parts) {
        result += kSeparator;
        result += part;
    }
    if (result.empty() || (endsAsFolder && !parts.empty())) result += kSeparator;
    return result;
}

}  // namespace

char FolderSeparator() { return kSeparator; }

bool IsFolderDelimiter(char c) { return c == kSeparator; }

bool FileExists(const std::string& name) {
    struct stat info {};
    return StatName(name, info) && !S_ISDIR(info.st_mode);
}

bool RegularFileExists(const std::string& name) {
    struct stat info {};
    return StatName(name, info) && S_ISREG(info.st_mode);
}

bool SameFile(const std::string& first, const std::string& second) {
    struct stat a {
    }, b{};
    return StatName(first, a) && StatName(second, b) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

uint32_t FileAttributesOf(const std::string& name) {
    struct stat info {};
    if (!StatName(name, info)) return 0;
    const uint32_t kind = S_ISDIR(info.st_mode) ? kAttrFolder : kAttrArchive;
    return kind | (OwnerMayWrite(info) ? 0 : kAttrReadOnly);
}

bool SetFileAttributesOf(const std::string& name, uint32_t attributes) {
    struct stat info {};
    if (!StatName(name, info)) return false;
    mode_t mode = info.st_mode & 07777;
    if ((attributes & kAttrReadOnly) != 0)
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    if (mode == (info.st_mode & 07777)) return true;
    return chmod(name.c_str(), mode) == 0;
}

uint32_t GetFileDosStamp(const std::string& name) {
    struct stat info {};
    if (!StatName(name, info) || S_ISDIR(info.st_mode)) return 0;
    tm local{};
    if (localtime_r(&info.st_mtime, &local) == nullptr) return 0;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return 0;
    const uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    // A leap second (60) still fits the 5-bit field as 30.
    const uint32_t time = static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                                (local.tm_sec / 2 > 29 ? 29 : local.tm_sec / 2));
    return (date << 16) | time;
}

bool SetFileDosStamp(const std::string& name, uint32_t stamp) {
    if (!IsValidDosStamp(stamp)) return false;
    const DosFields fields = SplitDosStamp(stamp);
    tm local{};
    local.tm_year = fields.Year - 1900;
    local.tm_mon = fields.Month - 1;
    local.tm_mday = fields.Day;
    local.tm_hour = fields.Hour;
    local.tm_min = fields.Minute;
    local.tm_sec = fields.Second;
    local.tm_isdst = -1;
    const time_t modified = mktime(&local);
    if (modified == static_cast<time_t>(-1)) return false;
    return SetModificationTime(name, modified);
}

std::string FullName(const std::string& name) {
    std::string absolute;
    if (name.empty() || name.front() != kSeparator) {
        const std::string folder = CurrentFolder();
        // Without a current folder the name can only be used as given.
        if (folder.empty()) return name;
        absolute = folder + kSeparator;
    }
    absolute += name;

    // The folder part is resolved as the system resolves it when it opens the
    // name: through symbolic links, and ".." from where they lead. Cleaning
    // "link/../x" up by its text would name another file than the one the
    // existence and same-file checks look at.
    const size_t cut = absolute.rfind(kSeparator);
    const std::string_view last = std::string_view(absolute).substr(cut + 1);
    const bool namesFolder = last.empty() || last == "." || last == "..";
    const std::string folder = namesFolder ? absolute : cut == 0 ? std::string(1, kSeparator) : absolute.substr(0, cut);
    if (char* resolved = realpath(folder.c_str(), nullptr)) {
        std::string result(resolved);
        free(resolved);
        if (namesFolder) {
            if (name.ends_with(kSeparator) && result.back() != kSeparator) result += kSeparator;
            return result;
        }
        if (result.back() != kSeparator) result += kSeparator;
        return result.append(last);
    }
    // A folder that does not exist cannot hold the file either, so any opening
    // fails; the text alone gives the name then.
    return LexicalFullName(absolute, name.ends_with(kSeparator));
}

std::string_view NameWithoutFolder(std::string_view name) {
    const size_t last = name.rfind(kSeparator);
    return last == std::string_view::npos ? name : name.substr(last + 1);
}

std::string_view FolderOf(std::string_view name) {
    const size_t last = name.rfind(kSeparator);
    return last == std::string_view::npos ? std::string_view{} : name.substr(0, last + 1);
}

}  // namespace platform

}  // namespace vormi
