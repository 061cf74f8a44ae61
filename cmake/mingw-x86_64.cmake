# Cross toolchain for the 64-bit companion launcher64.exe (x64).
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(LAUNCHER_ARCH x64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
