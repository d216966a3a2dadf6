# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix-threads compilers, whose
# std::thread and std::mutex the core uses). Libraries built for Windows go into the prefix
# named by QOR_WINDOWS_PREFIX; nothing is taken from the build machine's own library folders.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QOR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QOR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QOR_MINGW_TRIPLET} $ENV{QOR_WINDOWS_PREFIX} ${QOR_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run under Wine, from the folder ctest runs them in.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
