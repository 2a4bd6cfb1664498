#!/usr/bin/env bash
# Checks that a program is a 32-bit Windows console program (PE32, i386, the
# console subsystem) that imports the Win32 functions the platform layer is
# built on: what Wine, which runs it in the tests, does not check.
#
#     check-pe32.sh objdump program.exe
set -euo pipefail

objdump=$1
program=$2
headers=$("$objdump" -p "$program")

fail() {
    echo "$program: $1" >&2
    exit 1
}
grep -q 'file format pei-i386' <<<"$headers" || fail "not a PE32 i386 program"
grep -Eq '^Subsystem[[:space:]]+0*3[[:space:]]' <<<"$headers" || fail "not a console program"

for function in CreateFileA ReadFile WriteFile CloseHandle GetLastError GetFileSizeEx SetFilePointerEx \
    GetFileType GetFileAttributesA SetFileAttributesA GetFileAttributesExA FileTimeToLocalFileTime \
    FileTimeToDosDateTime DosDateTimeToFileTime LocalFileTimeToFileTime SetFileTime GetFullPathNameA \
    WNetGetUniversalNameA timeGetTime CharToOemBuffA GetModuleFileNameA GetCommandLineA GetStdHandle; do
    grep -Eq "[[:space:]]$function\$" <<<"$headers" || fail "does not import $function"
done
for library in KERNEL32.dll USER32.dll WINMM.dll MPR.dll; do
    grep -qi "DLL Name: $library" <<<"$headers" || fail "does not import from $library"
done
echo "$program: PE32 i386 console program with the expected imports"
