# Cross toolchain for the 32-bit launcher.exe (x86).
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(LAUNCHER_ARCH x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
