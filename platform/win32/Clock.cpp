#include "platform/Clock.h"

#include <mmsystem.h>
#include <windows.h>

namespace platform {

uint32_t MillisecondClock() { return timeGetTime(); }

}  // namespace platform
