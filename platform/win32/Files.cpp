#include "vormi/platform/Files.h"

#include <windows.h>

#include <utility>

#include "Temporaries.h"
#include "win32/Handle.h"

namespace vormi::platform {
namespace {

using win32::FromHandle;
using win32::LastError;
using win32::ToHandle;

// Repeats a transfer over short transfers (pipes, consoles) until count bytes
// have moved, the file ends or a step fails; returns the bytes moved.
template <typename Step>
uint32_t MoveAll(uint32_t count, Step step) {
    uint32_t done = 0;
    while (done < count) {
        DWORD moved = 0;
        if (!step(done, moved) || moved == 0) break;
        done += moved;
    }
    return done;
}

// Opens an existing name for writing, shared for reading only, into existing
// (left INVALID_HANDLE_VALUE for a missing name); returns 0 or the error.
// This open is also what holds a target while it is replaced: the sharing
// refuses every other writer, and a read-only file refuses this one.
int OpenExisting(const std::string& name, HANDLE& existing) {
    existing =
        CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return existing != INVALID_HANDLE_VALUE || GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : LastError();
}

// A disk file with one name only: one with several hard links is written in
// place, so that it stays one file.
bool HasOneName(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
           info.nNumberOfLinks <= 1;
}

}  // namespace

File::~File() {
    if (IsOpen()) Close();
}

void File::Assign(std::string name) { Name_ = std::move(name); }

int File::OpenRead(ReadSharing sharing) {
    if (IsOpen()) Close();
    const DWORD share = sharing == ReadSharing::DenyWrite ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open.
    const HANDLE handle =
        CreateFileA(Name_.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    Handle_ = FromHandle(handle);
    return 0;
}

int File::CreateReplacing() {
    if (IsOpen()) Close();
    HANDLE held = INVALID_HANDLE_VALUE;
    if (const int error = OpenExisting(Name_, held); error != 0) return error;
    if (held != INVALID_HANDLE_VALUE && !HasOneName(held)) {
        CloseHandle(held);
        return Create();
    }
    // Shared for deleting too, so that an interruption can remove it while it
    // is open. A file left by a run ended by force is reused; one that another
    // run writes right now refuses this open, as the target would.
    const std::string temporary = Name_ + kTemporarySuffix;
    const HANDLE handle = CreateFileA(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const int error = LastError();
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        // Only another run writing the same target is a refusal. Any other
        // failure (a folder that takes no new file, a name too long for the
        // suffix) writes the target in place, as before.
        return error == ERROR_SHARING_VIOLATION ? error : Create();
    }
    Handle_ = FromHandle(handle);
    Held_ = FromHandle(held);
    Target_ = Name_;
    Temporary_ = temporary;
    detail::RememberTemporary(Temporary_.c_str());
    return 0;
}

int File::Commit() {
    if (Temporary_.empty()) return Close();
    // Windows replaces neither a file that is open nor one open for renaming,
    // so both are closed first.
    CloseHandle(ToHandle(std::exchange(Handle_, kNoHandle)));
    ReleaseTarget();
    const int error = MoveFileExA(Temporary_.c_str(), Name_.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : LastError();
    if (error != 0) DeleteFileA(Temporary_.c_str());
    detail::ForgetTemporary(Temporary_.c_str());
    Temporary_.clear();
    return error;
}

void File::Discard() {
    // Deleted while still open: it vanishes once closed, and cannot be another run's by then.
    DeleteFileA(Temporary_.c_str());
    detail::ForgetTemporary(Temporary_.c_str());
    Temporary_.clear();
}

void File::ReleaseTarget() {
    if (Held_ != kNoHandle) CloseHandle(ToHandle(std::exchange(Held_, kNoHandle)));
    Target_.clear();
}

int File::Create() {
    if (IsOpen()) Close();
    // Anything but a disk file (a pipe, the console) is kept open for writing
    // only, as the first open finds it: a pipe that only takes data refuses
    // readers, and CON opens for reading or for writing, never both. Pipes
    // never wait here: one without a free instance fails at once.
    HANDLE existing = INVALID_HANDLE_VALUE;
    if (const int error = OpenExisting(Name_, existing); error != 0) return error;
    if (existing != INVALID_HANDLE_VALUE && GetFileType(existing) != FILE_TYPE_DISK) {
        Handle_ = FromHandle(existing);
        return 0;
    }
    if (existing != INVALID_HANDLE_VALUE) CloseHandle(existing);
    // Shared for reading only, so that no other open may write the file
    // meanwhile: two runs writing one file at once would leave neither's
    // content. CREATE_ALWAYS truncates only once the access and sharing
    // checks passed.
    const HANDLE handle = CreateFileA(Name_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    Handle_ = FromHandle(handle);
    return 0;
}

int File::Close() {
    if (!IsOpen()) return ERROR_INVALID_HANDLE;
    if (!Temporary_.empty()) Discard();
    ReleaseTarget();
    return CloseHandle(ToHandle(std::exchange(Handle_, kNoHandle))) ? 0 : LastError();
}

uint32_t File::Read(void* data, uint32_t count) {
    if (!IsOpen()) return 0;
    auto* bytes = static_cast<char*>(data);
    return MoveAll(count, [&](uint32_t done, DWORD& moved) {
        return ReadFile(ToHandle(Handle_), bytes + done, count - done, &moved, nullptr) != 0;
    });
}

uint32_t File::Write(const void* data, uint32_t count) {
    if (!IsOpen()) return 0;
    const auto* bytes = static_cast<const char*>(data);
    return MoveAll(count, [&](uint32_t done, DWORD& moved) {
        return WriteFile(ToHandle(Handle_), bytes + done, count - done, &moved, nullptr) != 0;
    });
}

// A file that is not open has nothing more to give.
bool File::AtEnd() { return !IsOpen() || Position() >= Size(); }

uint64_t File::Position() {
    if (!IsOpen()) return 0;
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(ToHandle(Handle_), LARGE_INTEGER{}, &position, FILE_CURRENT)) return 0;
    return static_cast<uint64_t>(position.QuadPart);
}

bool File::IsRegularFile() {
    if (!IsOpen() || GetFileType(ToHandle(Handle_)) != FILE_TYPE_DISK) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(ToHandle(Handle_), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

uint64_t File::Size() {
    if (!IsOpen()) return 0;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(ToHandle(Handle_), &size) || size.QuadPart < 0) return 0;
    return static_cast<uint64_t>(size.QuadPart);
}

}  // namespace vormi::platform
