# What both Windows toolchains share: Debian's MinGW-w64 for TEMPIVO_MINGW. The -posix compilers
# are needed by GoogleTest's threads; -static keeps libwinpthread and the C++ runtime inside each
# .exe and .dll.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TEMPIVO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEMPIVO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TEMPIVO_MINGW}-windres)
set(CMAKE_OBJDUMP ${TEMPIVO_MINGW}-objdump)
set(TEMPIVO_WINDMC ${TEMPIVO_MINGW}-windmc)

set(CMAKE_FIND_ROOT_PATH /usr/${TEMPIVO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
