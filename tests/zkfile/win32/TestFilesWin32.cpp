#include "TestFiles.h"

namespace vormi {

// The Windows test run fixes the zone for the whole process in its
// environment (UTC+3, no daylight saving); stamps map to fixed times there
// just as in UTC.
void UseUtc() {}

}  // namespace vormi
