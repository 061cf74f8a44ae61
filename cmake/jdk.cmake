# The JDK this machine has: its jni.h serves every build of the JNI code (the Windows builds pair it
# with their own jni_md.h), and its javac and libjvm.so serve the native JNI tests.
# /usr/bin/javac is a chain of links into that JDK's bin folder.

find_program(LAUNCHER_JAVAC javac)
if(LAUNCHER_JAVAC)
  file(REAL_PATH "${LAUNCHER_JAVAC}" launcher_javac_real)
  cmake_path(GET launcher_javac_real PARENT_PATH launcher_jdk_bin)
  cmake_path(GET launcher_jdk_bin PARENT_PATH LAUNCHER_JDK_HOME)
endif()
if(NOT LAUNCHER_JDK_HOME OR NOT EXISTS "${LAUNCHER_JDK_HOME}/include/jni.h")
  message(FATAL_ERROR "No JDK with include/jni.h found through javac; tools/install-deps installs one")
endif()
set(LAUNCHER_JDK_INCLUDE "${LAUNCHER_JDK_HOME}/include")

# The JDK's feature release (17 for "17.0.15", 8 for "1.8.0_402"), from its release file.
file(STRINGS "${LAUNCHER_JDK_HOME}/release" launcher_jdk_version REGEX "^JAVA_VERSION=")
string(REGEX MATCH "\"(1\\.)?([0-9]+)" launcher_jdk_version "${launcher_jdk_version}")
set(LAUNCHER_JDK_FEATURE "${CMAKE_MATCH_2}")
if(NOT LAUNCHER_JDK_FEATURE)
  message(FATAL_ERROR "${LAUNCHER_JDK_HOME}/release names no JAVA_VERSION")
endif()
