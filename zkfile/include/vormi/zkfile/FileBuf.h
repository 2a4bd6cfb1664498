// A heap block through which the file layer reads and writes its files. The
// held bytes always start at the beginning of the block. The capacity is kept
// twice (plain and inverted) so that use before allocation, after release or
// with a damaged size field is caught by every accessor that needs the block.
// A plain record: FileBuf{} is an invalid buffer with no block.
#pragma once

#include <cstdint>

#include "vormi/platform/Files.h"

namespace vormi {

inline constexpr uint32_t FileBufMinSize = 1000;
inline constexpr uint32_t FileBufReleasedCheck = 0x3FF00000;  // never the complement of 0

// Values of FileBuf::Status.
enum FileBufStatus : uint8_t {
    fbsOk = 0,
    fbsNoMemory = 1,    // Alloc could not get its block
    fbsShortRead = 2,   // fewer bytes arrived than asked (ReadFrom: only before the end of the file)
    fbsShortWrite = 3,  // fewer bytes were written than held
    fbsNoRoom = 4,      // ReadExact asked for more than the free space
};

struct FileBuf {
    uint8_t Status;
    uint32_t Capacity;
    uint32_t CapacityCheck;  // ~Capacity while the buffer is valid
    uint8_t* Data;           // owned; null when there is no block
    uint32_t Mark;           // low-water mark of IsDrained; 0, so the coding loops empty the buffer
    uint32_t FillCount;      // bytes held from the start of the block

    // Validating accessors: an invalid buffer reports 0 or null.
    uint32_t ValidCapacity() const { return Capacity == ~CapacityCheck ? Capacity : 0; }
    uint32_t Filled() const { return ValidCapacity() != 0 ? FillCount : 0; }
    uint32_t FreeSpace() const { return ValidCapacity() - Filled(); }
    uint8_t* DataPtr() const { return ValidCapacity() != 0 ? Data : nullptr; }
    // The block; on an invalid buffer a programming error that stops the
    // program with exit code 204 (invalid pointer operation).
    uint8_t* RequireData() const;
    // Clamped to the valid capacity (so 0 on an invalid buffer).
    void SetFilled(uint32_t count);

    // Plain field operations, no validity check.
    void Clear() { FillCount = 0; }
    void SetMark(uint32_t mark) { Mark = mark; }
    uint32_t GetMark() const { return Mark; }
    bool IsDrained() const { return FillCount <= Mark; }
    bool IsOk() const { return Status == fbsOk; }
    bool HasFailed() const { return Status != fbsOk; }
    uint8_t SetStatus(uint8_t status);  // the one way a transfer records its outcome; returns the previous one

    // Releases, then allocates max(size, 1000) bytes; size 0 only releases.
    // A failed allocation gives status 1 and an invalid buffer.
    void Alloc(uint32_t size);
    // Frees the block of a valid buffer and leaves the record invalid; Status stays.
    void Release();

    // Sends all held bytes with one write; status 3 when it falls short. The
    // fill count stays. Returns the count written.
    uint32_t WriteTo(platform::File& file);
    // Appends up to min(count, FreeSpace()) bytes with one read; status 2 when
    // fewer arrive and the file is not at its end. Returns the count read.
    uint32_t ReadFrom(platform::File& file, uint32_t count);
    // Appends exactly count bytes: status 4 (nothing read) when they cannot
    // fit, 2 when fewer arrive. Returns the count read.
    uint32_t ReadExact(platform::File& file, uint32_t count);
    uint32_t FillFrom(platform::File& file) { return ReadFrom(file, FreeSpace()); }
    // Drops count bytes from the front and slides the rest down.
    void Consume(uint32_t count);
};

}  // namespace vormi
