// The File record keeps its HANDLE as an intptr_t; these convert between the
// two forms. Private to the Win32 implementation.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vormi::platform::win32 {

inline HANDLE ToHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
inline intptr_t FromHandle(HANDLE handle) { return reinterpret_cast<intptr_t>(handle); }

// The error of the call that just failed, never 0: a failing call that left
// no error code still fails.
inline int LastError() {
    const DWORD error = GetLastError();
    return error == 0 ? ERROR_GEN_FAILURE : static_cast<int>(error);
}

}  // namespace vormi::platform::win32
