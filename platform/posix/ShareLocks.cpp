#include "posix/ShareLocks.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdint>

namespace vormi::platform::posix {
namespace {

// Two sentinel bytes far beyond any real file content. A read lock on the
// first says "an open denies writing"; one on the second says "an open has
// write access". Read locks never conflict with one another, so any number of
// opens may hold the same claim; a probe for a write lock finds the holders.
constexpr off_t kDenyWriteByte = INT64_MAX - 16;
constexpr off_t kWriteAccessByte = kDenyWriteByte + 1;

flock SentinelLock(short type, off_t byte) {
    flock lock{};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    lock.l_pid = 0;
    return lock;
}

int Take(int fd, off_t byte) {
    flock lock = SentinelLock(F_RDLCK, byte);
    return fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 0 : errno;
}

void Drop(int fd, off_t byte) {
    flock lock = SentinelLock(F_UNLCK, byte);
    fcntl(fd, F_OFD_SETLK, &lock);
}

// True when another open file description holds the sentinel byte. Locks of
// fd's own description never count.
bool HeldElsewhere(int fd, off_t byte) {
    flock lock = SentinelLock(F_WRLCK, byte);
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
    return lock.l_type != F_UNLCK;
}

// A file system without these locks cannot enforce sharing; opening there must
// still work.
bool LocksUnsupported(int error) { return error == EINVAL || error == ENOLCK || error == EOPNOTSUPP; }

}  // namespace

int ClaimSharing(int fd, ShareRequest request) {
    // Claim first, probe second: two racing opens may then both fail, but they
    // can never both succeed.
    if (request.DeniesWrite) {
        const int error = Take(fd, kDenyWriteByte);
        if (error != 0) return LocksUnsupported(error) ? 0 : error;
    }
    if (request.HasWriteAccess) {
        const int error = Take(fd, kWriteAccessByte);
        if (error != 0) {
            if (request.DeniesWrite) Drop(fd, kDenyWriteByte);
            return LocksUnsupported(error) ? 0 : error;
        }
    }
    const bool conflict = (request.DeniesWrite && HeldElsewhere(fd, kWriteAccessByte)) ||
                          (request.HasWriteAccess && HeldElsewhere(fd, kDenyWriteByte));
    if (!conflict) return 0;
    if (request.DeniesWrite) Drop(fd, kDenyWriteByte);
    if (request.HasWriteAccess) Drop(fd, kWriteAccessByte);
    return EBUSY;
}

}  // namespace vormi::platform::posix
