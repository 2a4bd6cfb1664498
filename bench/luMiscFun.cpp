#include "luMiscFun.h"

#include "vormi/platform/Clock.h"
#include "vormi/platform/Files.h"

namespace vormi::luMiscFun {

int32_t FileSizeByName(const std::string& name) {
    platform::File file;
    file.Assign(name);
    if (file.OpenRead(platform::ReadSharing::DenyNone) != 0) return -1;
    const uint64_t size = file.Size();
    file.Close();
    return static_cast<int32_t>(static_cast<uint32_t>(size));
}

uint32_t WaitNextTick() {
    const uint32_t first = platform::MillisecondClock();
    uint32_t now = first;
    while (now == first) now = platform::MillisecondClock();
    return now;
}

}  // namespace vormi::luMiscFun
