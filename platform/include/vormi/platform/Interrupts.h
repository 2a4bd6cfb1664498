// Interruptions of the program by its user or the system: Ctrl+C, SIGTERM and
// SIGHUP here; Ctrl+C, Ctrl+Break and closing the console on Windows.
#pragma once

namespace vormi::platform {

// From now on an interruption removes the temporary files being written
// (File::CreateReplacing), so that the files they were to replace stay as they
// were, and then ends the process at once as the interruption itself ends it:
// by the same signal here, with the exit code of an ended console program on
// Windows. A signal the process was started ignoring (nohup) stays ignored.
// Called once at start.
void RemoveTemporariesOnInterrupt();

}  // namespace vormi::platform
