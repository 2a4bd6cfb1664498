// The fields of a local MS-DOS date and time stamp (date in the high 16 bits,
// 2-second resolution) and the test for a stamp that names a real moment.
// Shared by the implementations; not for the layers above.
#pragma once

#include <cstdint>

namespace vormi::platform {

struct DosFields {
    int Year, Month, Day, Hour, Minute, Second;
};

DosFields SplitDosStamp(uint32_t stamp);
// False for 0 and for fields outside the calendar (month 13, 30 February,
// hour 24, 60 seconds).
bool IsValidDosStamp(uint32_t stamp);

}  // namespace vormi::platform
