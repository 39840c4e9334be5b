# Cross build for 32-bit Windows with Debian's MinGW-w64 (package
# g++-mingw-w64-i686-posix): the program as it ships. Its tests run under
# wine's 32-bit loader (package wine32).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(dalemira_mingw_triple i686-w64-mingw32)
set(dalemira_wine wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
