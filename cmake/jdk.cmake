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
