# Cross-compiling the 32-bit Windows program with MinGW-w64 (i686):
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VQ_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VQ_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${VQ_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${VQ_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VQ_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The colour-keyed copy's SSE2 path; one self-contained executable without MinGW runtime DLLs; a GUI program.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -mwindows")
