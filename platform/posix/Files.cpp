#include "vormi/platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>

#include "Temporaries.h"
#include "posix/HeldInterruptions.h"
#include "posix/ShareLocks.h"

namespace vormi::platform {
namespace {

// Closes a descriptor that is being given up after a failed open, keeping the
// error that made the open fail.
int Abandon(int fd, int error) {
    close(fd);
    return error;
}

// Repeats a transfer step over short transfers and interruptions until count
// bytes have moved, the file ends or a step fails; returns the bytes moved.
template <typename Step>
uint32_t MoveAll(uint32_t count, Step step) {
    uint32_t done = 0;
    while (done < count) {
        const ssize_t moved = step(done);
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) break;
        done += static_cast<uint32_t>(moved);
    }
    return done;
}

int Descriptor(intptr_t handle) { return static_cast<int>(handle); }

// Transfers on fd wait for the other side again, as they should.
int Blocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 ? 0 : errno;
}

// Opens fd or returns an errno. The file is shared for reading only, so
// that no other open may write it meanwhile: two runs writing one file at once
// would leave neither's content. Nothing is truncated before the sharing and
// read-only checks have passed.
int CreateRegular(const std::string& name, int& fd) {
    bool created = false;
    fd = open(name.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    if (fd < 0) return errno;
    struct stat info {};
    if (fstat(fd, &info) != 0) return Abandon(fd, errno);
    if (S_ISDIR(info.st_mode)) return Abandon(fd, EISDIR);
    // Replaced by a pipe or device since it was looked at.
    if (!S_ISREG(info.st_mode)) return Abandon(fd, EAGAIN);
    // A read-only file refuses writers whatever the process's privileges.
    if (!created && (info.st_mode & S_IWUSR) == 0) return Abandon(fd, EACCES);
    const int error = posix::ClaimSharing(fd, {.DeniesWrite = true, .HasWriteAccess = true});
    if (error != 0) return Abandon(fd, error);
    if (ftruncate(fd, 0) != 0) return Abandon(fd, errno);
    return 0;
}

// A named pipe without a reader refuses a writer that does not wait (ENXIO).
// Its reader may start a moment after this run ("cat p > out & vormi d ...
// /1:p", where the shell may start vormi first), so it is asked again for
// about a second; a pipe that nobody reads still ends the run quickly.
int OpenWithoutWaiting(const std::string& name) {
    constexpr int kTries = 50;
    constexpr std::chrono::milliseconds kPause{20};
    int fd = open(name.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    for (int tries = 1; fd < 0 && errno == ENXIO && tries < kTries; ++tries) {
        std::this_thread::sleep_for(kPause);
        fd = open(name.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    }
    return fd;
}

// A pipe, device or socket: opens fd or returns an errno. Write access
// only: with read access too this process would be one of a pipe's readers, so
// it would never see the real reader leave and would block for ever once the
// pipe was full. Opened without waiting, so that a named pipe nobody reads
// fails soon (ENXIO) instead of waiting for a reader for ever.
int OpenForWritingOnly(const std::string& name, int& fd) {
    fd = OpenWithoutWaiting(name);
    if (fd < 0) return errno;
    struct stat info {};
    if (fstat(fd, &info) != 0) return Abandon(fd, errno);
    // Replaced by a regular file since it was looked at.
    if (S_ISREG(info.st_mode)) return Abandon(fd, EAGAIN);
    if (const int error = Blocking(fd); error != 0) return Abandon(fd, error);
    return 0;
}

// The name with a symbolic link in its last part followed, so that the file
// it leads to is replaced and the link stays. Any other name as it is.
std::string FollowLink(const std::string& name) {
    struct stat info {};
    if (lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return name;
    char* resolved = realpath(name.c_str(), nullptr);
    if (resolved == nullptr) return name;
    std::string target(resolved);
    free(resolved);
    return target;
}

// The existing target of a replacement, held open until the replacement ends:
// it carries Create's sharing claim, so that no other open writes it meanwhile
// and a second writer fails, but nothing is truncated.
int HoldTarget(const std::string& name, int& fd, struct stat& info) {
    fd = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    if (fstat(fd, &info) != 0) return Abandon(fd, errno);
    if (!S_ISREG(info.st_mode)) return Abandon(fd, EAGAIN);
    if ((info.st_mode & S_IWUSR) == 0) return Abandon(fd, EACCES);
    const int error = posix::ClaimSharing(fd, {.DeniesWrite = true, .HasWriteAccess = true});
    return error != 0 ? Abandon(fd, error) : 0;
}

// Opens the temporary file of a replacement or returns an errno. A file left
// by a run ended by force is reused; one that another run is writing right now
// is its lock, so this run fails with EBUSY as a second Create would. Never
// follows a link planted under the temporary name.
int OpenTemporary(const std::string& name, int& fd) {
    fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return errno;
    struct stat info {};
    if (fstat(fd, &info) != 0) return Abandon(fd, errno);
    if (!S_ISREG(info.st_mode)) return Abandon(fd, EEXIST);
    const int error = posix::ClaimSharing(fd, {.DeniesWrite = true, .HasWriteAccess = true});
    if (error != 0) return Abandon(fd, error);
    // The run that held it may have just put it in its target's place.
    struct stat named {};
    if (stat(name.c_str(), &named) != 0 || named.st_ino != info.st_ino || named.st_dev != info.st_dev) {
        return Abandon(fd, EBUSY);
    }
    if (ftruncate(fd, 0) != 0) return Abandon(fd, errno);
    return 0;
}

}  // namespace

File::~File() {
    if (IsOpen()) Close();
}

void File::Assign(std::string name) { Name_ = std::move(name); }

int File::OpenRead(ReadSharing sharing) {
    if (IsOpen()) Close();
    // Non-blocking so that a named pipe without a writer cannot stall the open.
    const int fd = open(Name_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    struct stat info {};
    if (fstat(fd, &info) != 0) return Abandon(fd, errno);
    if (S_ISDIR(info.st_mode)) return Abandon(fd, EISDIR);
    if (S_ISREG(info.st_mode) && sharing == ReadSharing::DenyWrite) {
        const int error = posix::ClaimSharing(fd, {.DeniesWrite = true, .HasWriteAccess = false});
        if (error != 0) return Abandon(fd, error);
    }
    if (const int error = Blocking(fd); error != 0) return Abandon(fd, error);
    Handle_ = fd;
    return 0;
}

int File::Create() {
    if (IsOpen()) Close();
    // A missing name becomes a regular file.
    struct stat named {};
    const bool regular = stat(Name_.c_str(), &named) != 0 || S_ISREG(named.st_mode);
    int fd = -1;
    const int error = regular ? CreateRegular(Name_, fd) : OpenForWritingOnly(Name_, fd);
    if (error != 0) return error;
    Handle_ = fd;
    return 0;
}

int File::CreateReplacing() {
    if (IsOpen()) Close();
    const std::string target = FollowLink(Name_);
    struct stat named {};
    const bool exists = stat(target.c_str(), &named) == 0;
    if (exists && (!S_ISREG(named.st_mode) || named.st_nlink > 1)) return Create();
    int held = -1;
    struct stat info {};
    if (exists) {
        if (const int error = HoldTarget(target, held, info); error != 0) return error;
    }
    std::string temporary = target + kTemporarySuffix;
    const posix::HeldInterruptions interruptionsWait;
    int fd = -1;
    if (const int error = OpenTemporary(temporary, fd); error != 0) {
        if (held >= 0) close(held);
        // Only another run writing the same target is a refusal. Any other
        // failure (a folder that takes no new file, a name too long for the
        // suffix, a folder planted under the temporary name) writes the
        // target in place, as before.
        return error == EBUSY ? error : Create();
    }
    // The replacement keeps the permissions of the file it replaces.
    if (exists) fchmod(fd, info.st_mode & 07777);
    Handle_ = fd;
    Held_ = held;
    Target_ = target;
    Temporary_ = std::move(temporary);
    detail::RememberTemporary(Temporary_.c_str());
    return 0;
}

int File::Commit() {
    if (Temporary_.empty()) return Close();
    // Renamed while the target is still held, so no other run comes between.
    const int error = rename(Temporary_.c_str(), Target_.c_str()) == 0 ? 0 : errno;
    if (error == 0) {
        detail::ForgetTemporary(Temporary_.c_str());
        Temporary_.clear();
    }
    Close();
    return error;
}

void File::Discard() {
    // Removed while still claimed, so it cannot be another run's by now.
    unlink(Temporary_.c_str());
    detail::ForgetTemporary(Temporary_.c_str());
    Temporary_.clear();
}

void File::ReleaseTarget() {
    if (Held_ != kNoHandle) close(Descriptor(std::exchange(Held_, kNoHandle)));
    Target_.clear();
}

int File::Close() {
    if (!IsOpen()) return EBADF;
    if (!Temporary_.empty()) Discard();
    ReleaseTarget();
    const int fd = Descriptor(std::exchange(Handle_, kNoHandle));
    // Linux releases the descriptor even when close reports an error, so the
    // record is closed either way.
    return close(fd) == 0 ? 0 : errno;
}

uint32_t File::Read(void* data, uint32_t count) {
    if (!IsOpen()) return 0;
    auto* bytes = static_cast<char*>(data);
    return MoveAll(count, [&](uint32_t done) { return read(Descriptor(Handle_), bytes + done, count - done); });
}

uint32_t File::Write(const void* data, uint32_t count) {
    if (!IsOpen()) return 0;
    const auto* bytes = static_cast<const char*>(data);
    return MoveAll(count, [&](uint32_t done) { return write(Descriptor(Handle_), bytes + done, count - done); });
}

// A file that is not open has nothing more to give.
bool File::AtEnd() { return !IsOpen() || Position() >= Size(); }

uint64_t File::Position() {
    if (!IsOpen()) return 0;
    const off_t position = lseek(Descriptor(Handle_), 0, SEEK_CUR);
    return position < 0 ? 0 : static_cast<uint64_t>(position);
}

bool File::IsRegularFile() {
    if (!IsOpen()) return false;
    struct stat info {};
    if (fstat(Descriptor(Handle_), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (info.st_size > 0) return true;
    // Files of /proc and similar file systems report no size and still have
    // content: an empty file gives nothing, they give a byte.
    char probe = 0;
    ssize_t got = 0;
    do {
        got = pread(Descriptor(Handle_), &probe, 1, 0);
    } while (got < 0 && errno == EINTR);
    return got == 0;
}

uint64_t File::Size() {
    if (!IsOpen()) return 0;
    struct stat info {};
    if (fstat(Descriptor(Handle_), &info) != 0 || info.st_size < 0) return 0;
    return static_cast<uint64_t>(info.st_size);
}

}  // namespace vormi::platform
