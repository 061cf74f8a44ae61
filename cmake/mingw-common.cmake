# What both mingw-w64 cross toolchains share; the including file sets TOOLCHAIN_PREFIX,
# CMAKE_SYSTEM_PROCESSOR and LAUNCHER_ARCH.
set(CMAKE_SYSTEM_NAME Windows)
# The -posix compilers provide std::mutex, which GoogleTest needs; with -static the
# executables still import only system DLLs.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
