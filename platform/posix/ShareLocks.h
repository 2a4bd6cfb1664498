// Windows-style sharing between opens of one file, kept as open file
// description locks so that it holds across processes too.
#pragma once

namespace vormi::platform::posix {

struct ShareRequest {
    bool DeniesWrite;     // others may not write while this open lasts
    bool HasWriteAccess;  // this open may write
};

// Records the request on the open descriptor fd (a regular file) and checks it
// against every other open: fails with EBUSY when another open has write access
// and this one denies writing, or the other denies writing and this one has
// write access. Closing the descriptor ends the claim. Returns 0 or an errno.
int ClaimSharing(int fd, ShareRequest request);

}  // namespace vormi::platform::posix
