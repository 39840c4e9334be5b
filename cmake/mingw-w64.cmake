# Shared by the MinGW-w64 toolchain files, which set dalemira_mingw_triple
# (the compiler's target) and dalemira_wine (the wine loader that runs its
# programs) before including this.
set(CMAKE_SYSTEM_NAME Windows)

# Debian's -posix flavour: its libstdc++ has std::mutex, which GoogleTest
# needs on MinGW and GCC 12's -win32 flavour lacks. winpthread is linked in
# statically with the rest of the runtime, so it adds no DLL.
set(CMAKE_C_COMPILER ${dalemira_mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${dalemira_mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${dalemira_mingw_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${dalemira_mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 arithmetic rounds every double operation to 64 bits, as x86-64 does;
# x87 would keep intermediates in 80 bits and change some results.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# The runtime goes into the program, so it needs no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run the programs under wine; ctest puts this before each of them.
set(CMAKE_CROSSCOMPILING_EMULATOR ${dalemira_wine})
