#include "vormi/platform/DosStamp.h"

namespace vormi::platform {
namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

DosFields SplitDosStamp(uint32_t stamp) {
    return {.Year = static_cast<int>(stamp >> 25) + 1980,
            .Month = static_cast<int>((stamp >> 21) & 0x0F),
            .Day = static_cast<int>((stamp >> 16) & 0x1F),
            .Hour = static_cast<int>((stamp >> 11) & 0x1F),
            .Minute = static_cast<int>((stamp >> 5) & 0x3F),
            .Second = static_cast<int>(stamp & 0x1F) * 2};
}

bool IsValidDosStamp(uint32_t stamp) {
    const DosFields f = SplitDosStamp(stamp);
    return stamp != 0 && f.Month >= 1 && f.Month <= 12 && f.Day >= 1 && f.Day <= DaysInMonth(f.Year, f.Month) &&
           f.Hour <= 23 && f.Minute <= 59 && f.Second <= 58;
}

}  // namespace vormi::platform
