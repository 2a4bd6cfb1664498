#include "vormi/platform/Interrupts.h"

#include <windows.h>

#include "Temporaries.h"

namespace vormi::platform {
namespace {

// Runs in a thread of its own while the program goes on. The temporary files
// are opened with FILE_SHARE_DELETE, so they can be deleted while open; they
// vanish once the process has ended and closed them. Returning FALSE hands the
// event to the system's handler, which ends the process as it ends any
// console program (STATUS_CONTROL_C_EXIT).
BOOL WINAPI RemoveAndEnd(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        detail::RemoveTemporaries([](const char* name) { DeleteFileA(name); });
    }
    return FALSE;
}

}  // namespace

void RemoveTemporariesOnInterrupt() { SetConsoleCtrlHandler(RemoveAndEnd, TRUE); }

}  // namespace vormi::platform
