# Cross build for 64-bit Windows with Debian's MinGW-w64 (package
# g++-mingw-w64-x86-64-posix). It does not ship: it lets the Windows build's
# tests run under wine64 on a kernel that cannot start 32-bit programs, where
# wine's 32-bit loader cannot start either.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(dalemira_mingw_triple x86_64-w64-mingw32)
set(dalemira_wine /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
