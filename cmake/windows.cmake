# The Windows executables: launcher.exe (x86) or launcher64.exe (x64), their Windows-side test
# programs, the UI test driver, and the tests that run them under Wine.

enable_language(RC)

if(LAUNCHER_ARCH STREQUAL "x86")
  set(LAUNCHER_NAME launcher)
else()
  set(LAUNCHER_NAME launcher64)
endif()

# Unicode GUI programs, statically linked so they import only system DLLs, made for size.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_compile_options(-Wall -Wextra -ffunction-sections -fdata-sections)
add_link_options(-static -Wl,--gc-sections)
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel" OR CMAKE_BUILD_TYPE STREQUAL "Release")
  add_link_options(-s)
endif()

add_library(launcher_win STATIC
  src/app/command_line_win.cpp
  src/app/java_host_services_win.cpp
  src/app/launcher_app.cpp
  src/app/module_path.cpp
  src/app/pair_relaunch.cpp
  src/base/ansi_text.cpp
  src/base/environment.cpp
  src/base/error_box.cpp
  src/jvm/class_data_archive_win.cpp
  src/jvm/java_environment_win.cpp
  src/jvm/java_main_thread_win.cpp
  src/jvm/java_runtime_win.cpp
  src/jvm/stream_files_win.cpp
  src/jvm/java_strings.cpp
  src/jvm/java_vm.cpp
  src/ui/dialog_placement.cpp
  src/ui/failure_dialog.cpp
  src/ui/folder_browser.cpp
  src/ui/hyperlink.cpp
  src/ui/runtime_folder_dialog.cpp
  src/jvm/main_invocation.cpp
  src/jvm/stream_redirection.cpp
  src/jvm/vm_option_assembly_win.cpp
  src/runtime/pe_image_file.cpp
  src/runtime/registry_key.cpp
  src/runtime/windows_runtime_environment.cpp
  src/settings/profile_file.cpp
  src/settings/settings_files.cpp
)
target_link_libraries(launcher_win PUBLIC launcher_core comctl32 ole32 shell32)
# jni.h from the JDK, with the Windows jni_md.h of our own ahead of anything else of that name.
target_include_directories(launcher_win PUBLIC src/jvm/include "${LAUNCHER_JDK_INCLUDE}")

add_executable(launcher WIN32 src/app/main.cpp src/resources/launcher.rc)
set_target_properties(launcher PROPERTIES OUTPUT_NAME ${LAUNCHER_NAME})
target_link_libraries(launcher PRIVATE launcher_win)
target_link_options(launcher PRIVATE -municode)
target_include_directories(launcher PRIVATE src/resources)
add_custom_command(TARGET launcher POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E echo "$<TARGET_FILE_NAME:launcher> size: $<TARGET_FILE:launcher>"
  COMMAND stat -c "%s bytes" $<TARGET_FILE:launcher>)

add_subdirectory(testing/uidriver)
add_subdirectory(testing/cmdecho)
add_subdirectory(testing/planted)
add_subdirectory(testing/testjvm)
if(BUILD_TESTING)
  include(cmake/wine_tests.cmake)
endif()
