# Cross-compiling for 64-bit Windows: the download for 64-bit systems, and the build whose tests
# run under 64-bit Wine on machines that run no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TEMPIVO_MINGW x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
