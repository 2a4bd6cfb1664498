// Files with one-byte transfer units, as the file layer and the bench use them.
// Sharing follows the Windows rules: an open that denies writing fails while
// another open has write access, and an open with write access fails while
// another open denies writing (enforced across processes too).
#pragma once

#include <cstdint>
#include <string>

namespace vormi::platform {

enum class ReadSharing : uint8_t {
    DenyWrite,  // others may read the file but not write it
    DenyNone,   // others may read and write it
};

class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Binds the record to a name; no I/O.
    void Assign(std::string name);
    const std::string& Name() const { return Name_; }

    // Each returns the I/O result: 0 on success, else a nonzero error number
    // (errno here, GetLastError on Windows).
    // Opens an existing file read-only. A folder never opens.
    int OpenRead(ReadSharing sharing);
    // Creates or truncates the file with read and write access, shared for
    // reading only: while it is open no other open may write it, so a second
    // Create fails. Fails without truncating when the sharing rules forbid it
    // or the existing file is read-only.
    // A name that denotes anything but a regular file (a pipe, a device) is
    // opened for writing only, so that a pipe's reader leaving makes writes
    // fail (the process must ignore SIGPIPE, see IgnoreBrokenPipes), and a
    // named pipe that nobody reads fails at once instead of waiting for one.
    // Here: EBUSY for sharing, EACCES for a read-only file whatever the
    // process's privileges, ENXIO for a named pipe without a reader. On
    // Windows: the system's own error numbers (ERROR_SHARING_VIOLATION,
    // ERROR_ACCESS_DENIED).
    int Create();
    // Creates the file that is to take the name's place once it is whole, so
    // that a run that fails or is interrupted leaves the named file as it was.
    // For a regular file or a missing name this is a temporary file beside it,
    // named as the target plus kTemporarySuffix; the target itself is held
    // meanwhile with Create's sharing and refusals (a second writer fails, a
    // read-only file is refused, nothing is truncated). Commit then puts the
    // temporary file in the target's place in one step; Close, and an
    // interruption (RemoveTemporariesOnInterrupt), remove it instead. A
    // symbolic link is followed, so the file it leads to is the one replaced.
    // Everything else is written in place, as Create writes it: pipes and
    // devices, a file with several hard links (which must stay one file), and
    // a target beside which no temporary file can be made (a folder that
    // takes no new file, a name too long for the suffix). A named pipe gets
    // about a second to find its reader before it fails.
    int CreateReplacing();
    // Closes the file; one from CreateReplacing first takes its target's place
    // (the result is then that of the replacement alone, and on failure the
    // file is removed). For any other file, or one written in place, Close.
    int Commit();
    // True while a file from CreateReplacing waits to take its target's place.
    bool IsReplacing() const { return !Temporary_.empty(); }
    // Closing a file that is not open gives a nonzero result. A file from
    // CreateReplacing that was not committed is removed; its target stays.
    int Close();

    bool IsOpen() const { return Handle_ != kNoHandle; }
    // True while the file is open on a regular file whose size the system
    // knows: not a folder, device, pipe or socket, nor a file of a virtual
    // file system that reports no size yet has content (as /proc does).
    bool IsRegularFile();
    // Block transfers return the count moved; a failure counts as 0.
    uint32_t Read(void* data, uint32_t count);
    uint32_t Write(const void* data, uint32_t count);
    bool AtEnd();  // position has reached the size
    uint64_t Position();
    uint64_t Size();

    // Appended to a target's name to name the file that will replace it. A
    // run ended by force (kill -9, a power cut) may leave one; it is safe to
    // delete, and the next run on that target reuses and removes it.
    static constexpr const char* kTemporarySuffix = ".vormi-part";

private:
    // A descriptor or a Windows handle; -1 (INVALID_HANDLE_VALUE) when closed.
    static constexpr intptr_t kNoHandle = -1;
    // Ends a replacement that did not take place: removes the temporary file.
    void Discard();
    // Lets go of the target held during a replacement.
    void ReleaseTarget();
    std::string Name_;
    intptr_t Handle_ = kNoHandle;
    // While a replacement is pending: the file replaced (the name with a
    // symbolic link followed), the temporary file's name, and the target held
    // open so that no other run writes it meanwhile (none for a missing one).
    std::string Target_;
    std::string Temporary_;
    intptr_t Held_ = kNoHandle;
};

}  // namespace vormi::platform
