#include "vormi/platform/Clock.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h first.
#include <mmsystem.h>

namespace vormi::platform {

uint32_t MillisecondClock() { return timeGetTime(); }

}  // namespace vormi::platform
