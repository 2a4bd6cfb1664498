# The 32-bit Windows console program, as the program was designed: i686 with
# SSE2 (the codec's vector search needs it), floating point in SSE registers
# except where the code asks for the extended type.
set(MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CXX_FLAGS_INIT "-march=i686 -msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "-march=i686 -msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
