#include "platform/Clock.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h first.
#include <mmsystem.h>

namespace platform {

uint32_t MillisecondClock() { return timeGetTime(); }

}  // namespace platform
