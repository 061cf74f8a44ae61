# The launcher's JNI code against a real HotSpot: the code is built natively into a small host
# program that loads the JDK's libjvm.so and plays the Windows side, and a GoogleTest suite runs
# that host once per scenario (one VM per process). HotSpot handles SIGSEGV itself, which an
# AddressSanitizer process does not allow, so the host and its copy of the JNI code are built
# without the sanitizers; only the test runner has them.

# LAUNCHER_JDK_HOME comes from cmake/jdk.cmake.
set(LAUNCHER_TEST_LIBJVM "${LAUNCHER_JDK_HOME}/lib/server/libjvm.so")
if(NOT EXISTS "${LAUNCHER_TEST_LIBJVM}")
  message(FATAL_ERROR "${LAUNCHER_TEST_LIBJVM} not found: the JNI tests need the JDK's server VM")
endif()

set(jvm_test_dir "${CMAKE_BINARY_DIR}/jvm_tests")
set(jvm_test_classes "${jvm_test_dir}/classes")
set(jvm_test_java_names
  entry/InheritedMainBase entry/InstanceWithArguments entry/InstanceWithoutArguments entry/PrivateConstructor
  entry/PrivateMain entry/StaticWithoutArguments entry/TwoForms entry/WithoutMain
  javafx/application/Application
  probe/BrokenInit probe/Command probe/Echo probe/ExitLater probe/ExitSeven probe/FxWithoutMain probe/HiddenMain
  probe/Lingering probe/NeedsAbsent probe/NoMain probe/NonStaticMain probe/Reflective probe/SecondVoid
  probe/StackProbe probe/Startup probe/Zähler
  probe/Thrower probe/TwoStreams)
set(jvm_test_java_sources)
set(jvm_test_class_files)
foreach(name IN LISTS jvm_test_java_names)
  list(APPEND jvm_test_java_sources "${CMAKE_SOURCE_DIR}/tests/jvm/java/${name}.java")
  list(APPEND jvm_test_class_files "${jvm_test_classes}/${name}.class")
endforeach()
# absent.Base lies in a jar of its own that no test puts on the class path; probe.NeedsAbsent
# extends it.
set(jvm_test_absent_source "${CMAKE_SOURCE_DIR}/tests/jvm/java/absent/Base.java")
set(jvm_test_absent_jar "${jvm_test_dir}/absent.jar")
add_custom_command(
  OUTPUT "${jvm_test_absent_jar}"
  COMMAND "${LAUNCHER_JAVAC}" --release 8 -encoding UTF-8 -d "${jvm_test_dir}/absent" "${jvm_test_absent_source}"
  COMMAND "${LAUNCHER_JDK_HOME}/bin/jar" cf "${jvm_test_absent_jar}" -C "${jvm_test_dir}/absent" absent
  DEPENDS "${jvm_test_absent_source}"
  COMMENT "Packing the jar the JNI tests leave off the class path"
  VERBATIM)
# For the oldest runtime the cases run on, so that every runtime loads the same class files.
add_custom_command(
  OUTPUT ${jvm_test_class_files}
  COMMAND "${LAUNCHER_JAVAC}" --release 8 -encoding UTF-8 -cp "${jvm_test_absent_jar}" -d "${jvm_test_classes}"
          ${jvm_test_java_sources}
  DEPENDS ${jvm_test_java_sources} "${jvm_test_absent_jar}"
  COMMENT "Compiling the Java classes of the JNI tests"
  VERBATIM)
# The same classes in a jar, for the class-data archive, which HotSpot makes only from jars.
set(jvm_test_jar "${jvm_test_dir}/probe.jar")
add_custom_command(
  OUTPUT "${jvm_test_jar}"
  COMMAND "${LAUNCHER_JDK_HOME}/bin/jar" cf "${jvm_test_jar}" -C "${jvm_test_classes}" probe
  DEPENDS ${jvm_test_class_files}
  COMMENT "Packing the JNI tests' classes into a jar"
  VERBATIM)
# A jar with no classes whose manifest puts the folder "conf/" beside it on the class path.
set(jvm_test_folder_jar "${jvm_test_dir}/folder-manifest.jar")
add_custom_command(
  OUTPUT "${jvm_test_folder_jar}"
  COMMAND "${LAUNCHER_JDK_HOME}/bin/jar" cfm "${jvm_test_folder_jar}"
          "${CMAKE_SOURCE_DIR}/tests/jvm/archive/folder-manifest.txt" -C "${jvm_test_dir}/absent" absent
  DEPENDS "${CMAKE_SOURCE_DIR}/tests/jvm/archive/folder-manifest.txt" "${jvm_test_absent_jar}"
  COMMENT "Packing a jar whose manifest names a folder"
  VERBATIM)
add_custom_target(jvm_test_classes ALL DEPENDS ${jvm_test_class_files} "${jvm_test_jar}" "${jvm_test_folder_jar}")
# The shapes of application besides a class path: an executable jar whose manifest names its
# main class, opens java.lang, enables native access and names a launcher agent (for Java 8, like
# the other classes); a named module in a jar of its own (Java 11); and a runtime image made
# with the build JDK's jlink with that module linked in.
set(jvm_test_shapes "${CMAKE_SOURCE_DIR}/tests/jvm/shapes")
set(jvm_test_main_jar "${jvm_test_dir}/jarapp.jar")
add_custom_command(
  OUTPUT "${jvm_test_main_jar}"
  COMMAND "${LAUNCHER_JAVAC}" --release 8 -d "${jvm_test_dir}/jarapp" "${jvm_test_shapes}/jarapp/Main.java"
          "${jvm_test_shapes}/jarapp/Agent.java"
  COMMAND "${LAUNCHER_JDK_HOME}/bin/jar" cfm "${jvm_test_main_jar}" "${jvm_test_shapes}/jarapp.mf"
          -C "${jvm_test_dir}/jarapp" jarapp
  DEPENDS "${jvm_test_shapes}/jarapp/Main.java" "${jvm_test_shapes}/jarapp/Agent.java" "${jvm_test_shapes}/jarapp.mf"
  COMMENT "Packing the executable jar of the JNI tests"
  VERBATIM)
set(jvm_test_module_jar "${jvm_test_dir}/mods/modapp.jar")
set(jvm_test_module_sources "${jvm_test_shapes}/modapp/module-info.java" "${jvm_test_shapes}/modapp/modapp/Hello.java"
  "${jvm_test_shapes}/modapp/modapp/Other.java")
add_custom_command(
  OUTPUT "${jvm_test_module_jar}"
  COMMAND "${LAUNCHER_JAVAC}" --release 11 -d "${jvm_test_dir}/modapp" ${jvm_test_module_sources}
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${jvm_test_dir}/mods"
  COMMAND "${LAUNCHER_JDK_HOME}/bin/jar" --create --file "${jvm_test_module_jar}" --main-class modapp.Hello
          -C "${jvm_test_dir}/modapp" .
  DEPENDS ${jvm_test_module_sources}
  COMMENT "Packing the named module of the JNI tests"
  VERBATIM)
set(jvm_test_image "${jvm_test_dir}/image")
add_custom_command(
  OUTPUT "${jvm_test_image}/release"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${jvm_test_image}"
  COMMAND "${LAUNCHER_JDK_HOME}/bin/jlink" --module-path "${jvm_test_module_jar}" --add-modules modapp
          --output "${jvm_test_image}"
  DEPENDS "${jvm_test_module_jar}"
  COMMENT "Linking a runtime image with the JNI tests' module"
  VERBATIM)
add_custom_target(jvm_test_shapes ALL DEPENDS "${jvm_test_main_jar}" "${jvm_test_module_jar}" "${jvm_test_image}/release")


# Replaces the directory's compile and link options, which carry the sanitizers.
function(launcher_without_sanitizers target)
  set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS -Wall -Wextra)
  set_property(TARGET ${target} PROPERTY LINK_OPTIONS "")
endfunction()

add_library(launcher_jni_unsanitized OBJECT
  src/base/message_format.cpp
  src/base/path.cpp
  src/base/text.cpp
  src/base/trace.cpp
  src/jvm/class_data_archive.cpp
  src/jvm/java_strings.cpp
  src/jvm/java_vm.cpp
  src/jvm/main_entry.cpp
  src/jvm/main_invocation.cpp
  src/jvm/main_method_lookup.cpp
  src/jvm/memory_share.cpp
  src/jvm/runtime_output.cpp
  src/jvm/runtime_words.cpp
  src/jvm/secondary_main.cpp
  src/jvm/stream_redirection.cpp
  src/jvm/time_stamp.cpp
  src/jvm/vm_parameters.cpp
  src/runtime/java_version.cpp
  src/runtime/release_file.cpp
  src/settings/settings_paths.cpp
)
target_include_directories(launcher_jni_unsanitized PUBLIC
  src "${LAUNCHER_JDK_INCLUDE}" "${LAUNCHER_JDK_INCLUDE}/linux")
launcher_without_sanitizers(launcher_jni_unsanitized)

find_package(Threads REQUIRED)
add_executable(jvm_host tests/jvm/jvm_host.cpp)
target_link_libraries(jvm_host PRIVATE launcher_jni_unsanitized Threads::Threads ${CMAKE_DL_LIBS})
target_compile_definitions(jvm_host PRIVATE LAUNCHER_TEST_LIBJVM="${LAUNCHER_TEST_LIBJVM}"
  JVM_HOST_SELF="${jvm_test_dir}/jvm_host")
set_target_properties(jvm_host PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${jvm_test_dir}")
launcher_without_sanitizers(jvm_host)

add_executable(java_main_test tests/jvm/java_main_test.cpp)
target_link_libraries(java_main_test PRIVATE GTest::gtest_main)
target_compile_options(java_main_test PRIVATE -Wall -Wextra)
# The other runtimes' cases run in the bench's Debian tree (tools/setup-bench).
if(DEFINED ENV{LAUNCHER_BENCH})
  set(jvm_test_bench_tree "$ENV{LAUNCHER_BENCH}/sid")
else()
  set(jvm_test_bench_tree "/srv/launcher-bench/sid")
endif()
target_compile_definitions(java_main_test PRIVATE
  JVM_HOST_RUNTIME_FEATURE=${LAUNCHER_JDK_FEATURE}
  JVM_TEST_BENCH_TREE="${jvm_test_bench_tree}"
  JVM_TEST_IN_CHROOT="${CMAKE_SOURCE_DIR}/tools/in-chroot"
  JVM_TEST_SCRATCH="${jvm_test_dir}/scratch"
  JVM_HOST_PATH="$<TARGET_FILE:jvm_host>"
  JVM_TEST_CLASSES="${jvm_test_classes}"
  JVM_TEST_JAR="${jvm_test_jar}"
  JVM_TEST_FOLDER_JAR="${jvm_test_folder_jar}"
  JVM_TEST_MAIN_JAR="${jvm_test_main_jar}"
  JVM_TEST_MODULE_JAR="${jvm_test_module_jar}"
  JVM_TEST_IMAGE="${jvm_test_image}")
add_dependencies(java_main_test jvm_host jvm_test_classes jvm_test_shapes)
# The same cases once per runtime, each version under a label of its own (jvm17 and so on): the
# build's JDK with the unit layer, the bench tree's runtimes (RUNTIME_VERSIONS in
# tools/bench-common.sh) once the bench is made. A runtime that is not there skips its cases,
# with the reason. The cases are read from the source (gtest_add_tests), which lets each
# test carry two labels.
set(jvm_test_skipped "\\[  SKIPPED \\]")
gtest_add_tests(TARGET java_main_test SOURCES tests/jvm/java_main_test.cpp TEST_PREFIX "unit.jvm."
  TEST_LIST jvm_host_runtime_tests)
set_tests_properties(${jvm_host_runtime_tests} PROPERTIES
  LABELS "unit;jvm${LAUNCHER_JDK_FEATURE}" SKIP_REGULAR_EXPRESSION "${jvm_test_skipped}")
foreach(version IN ITEMS 8 11 21 25 26)
  gtest_add_tests(TARGET java_main_test SOURCES tests/jvm/java_main_test.cpp TEST_PREFIX "jvm.${version}."
    TEST_LIST jvm_bench_runtime_tests)
  set_tests_properties(${jvm_bench_runtime_tests} PROPERTIES
    LABELS "jvm;jvm${version}" ENVIRONMENT "JVM_TEST_RUNTIME=${version}" SKIP_REGULAR_EXPRESSION "${jvm_test_skipped}")
endforeach()
