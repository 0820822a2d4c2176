# Cross-compiling for 32-bit Windows, the product's build: it runs on every Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TEMPIVO_MINGW i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
