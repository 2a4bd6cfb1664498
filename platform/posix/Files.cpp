#include "vormi/platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

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

// A pipe, device or socket: opens fd or returns an errno. Write access
// only: with read access too this process would be one of a pipe's readers, so
// it would never see the real reader leave and would block for ever once the
// pipe was full. Opened without waiting, so that a named pipe nobody reads
// fails at once (ENXIO) instead of waiting for a reader.
int OpenForWritingOnly(const std::string& name, int& fd) {
    fd = open(name.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat info {};
    if (fstat(fd, &info) != 0) return Abandon(fd, errno);
    // Replaced by a regular file since it was looked at.
    if (S_ISREG(info.st_mode)) return Abandon(fd, EAGAIN);
    if (const int error = Blocking(fd); error != 0) return Abandon(fd, error);
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

int File::Close() {
    if (!IsOpen()) return EBADF;
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
