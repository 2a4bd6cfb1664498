#include "vormi/zkfile/FileBuf.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vormi {

namespace {

constexpr int InvalidPointerOperation = 204;

}  // namespace

uint8_t* FileBuf::RequireData() const {
    if (ValidCapacity() == 0) {
        std::fputs("Runtime error 204: invalid pointer operation (file buffer not allocated)\n", stderr);
        std::exit(InvalidPointerOperation);
    }
    return Data;
}

void FileBuf::SetFilled(uint32_t count) {
    const uint32_t capacity = ValidCapacity();
    FillCount = count > capacity ? capacity : count;
}

uint8_t FileBuf::SetStatus(uint8_t status) {
    const uint8_t previous = Status;
    Status = status;
    return previous;
}

void FileBuf::Alloc(uint32_t size) {
    Release();
    if (size == 0) return;
    Mark = 0;
    if (size < FileBufMinSize) size = FileBufMinSize;
    Data = new (std::nothrow) uint8_t[size];
    if (Data == nullptr) {
        Status = fbsNoMemory;
        return;
    }
    Capacity = size;
    CapacityCheck = ~size;
    FillCount = 0;
    Status = fbsOk;
}

void FileBuf::Release() {
    if (ValidCapacity() != 0) delete[] Data;
    Data = nullptr;
    FillCount = 0;
    Capacity = 0;
    CapacityCheck = FileBufReleasedCheck;
}

uint32_t FileBuf::WriteTo(platform::File& file) {
    const uint32_t held = Filled();
    if (held == 0) {
        Status = fbsOk;
        return 0;
    }
    const uint32_t written = file.Write(Data, held);
    Status = written == held ? fbsOk : fbsShortWrite;
    return written;
}

uint32_t FileBuf::ReadFrom(platform::File& file, uint32_t count) {
    const uint32_t room = FreeSpace();
    if (count > room) count = room;
    const uint32_t held = Filled();
    const uint32_t got = count == 0 ? 0 : file.Read(Data + held, count);
    SetFilled(held + got);
    Status = got < count && !file.AtEnd() ? fbsShortRead : fbsOk;
    return got;
}

uint32_t FileBuf::ReadExact(platform::File& file, uint32_t count) {
    if (count > FreeSpace()) {
        Status = fbsNoRoom;
        return 0;
    }
    const uint32_t got = ReadFrom(file, count);
    if (got != count) Status = fbsShortRead;
    return got;
}

void FileBuf::Consume(uint32_t count) {
    const uint32_t held = Filled();
    if (count < held) {
        std::memmove(Data, Data + count, held - count);
        FillCount = held - count;
    } else {
        FillCount = 0;
    }
}

}  // namespace vormi
