# The Windows executables: launcher.exe (x86) or launcher64.exe (x64) with their console variant
# launcherc.exe or launcher64c.exe, the branding command, their Windows-side test programs, the
# UI test driver, and the tests that run them under Wine.

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

# The product code uses neither exceptions nor type information, so their machinery stays out,
# and the launchers are optimised as a whole at link time. One link-time partition: GCC 12 stops
# with an internal error on this code when it splits the program. The libraries' objects also
# hold ordinary code, which the test programs link (-fno-lto): on x86, link-time optimisation
# of the libraries together with GoogleTest's objects ends in duplicate template code. The x86
# unwind tables serve only exceptions; on x64 Windows itself unwinds with them, so they stay.
set(LAUNCHER_LEAN_FLAGS -fno-exceptions -fno-rtti -flto -ffat-lto-objects)
if(LAUNCHER_ARCH STREQUAL "x86")
  list(APPEND LAUNCHER_LEAN_FLAGS -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()
set(LAUNCHER_LTO_LINK -flto -flto-partition=one)
# The x86 launcher is held to the tighter budget: GCC's strictest size optimisation, without
# the early inlining of the string classes' members into every caller or of each function used
# once into its caller (together 8 KB). The JVM's start, not the launcher's own code, is what a
# user waits for.
if(LAUNCHER_ARCH STREQUAL "x86" AND CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  set(LAUNCHER_X86_SIZE_FLAGS -Oz -fno-early-inlining -fno-inline-functions-called-once)
  list(APPEND LAUNCHER_LEAN_FLAGS ${LAUNCHER_X86_SIZE_FLAGS})
  list(APPEND LAUNCHER_LTO_LINK ${LAUNCHER_X86_SIZE_FLAGS})
endif()

# The size budget of each launcher executable, in bytes: the test win.ARCH.size fails past it.
set(LAUNCHER_SIZE_BUDGET_x86 163840)
set(LAUNCHER_SIZE_BUDGET_x64 204800)

add_library(launcher_win STATIC
  src/app/command_line_win.cpp
  src/app/java_host_services_win.cpp
  src/app/launcher_app_win.cpp
  src/app/module_path_win.cpp
  src/app/pair_relaunch_win.cpp
  src/app/secondary_main_server_win.cpp
  src/instance/instance_server_win.cpp
  src/instance/single_instance_win.cpp
  src/base/ansi_text_win.cpp
  src/base/environment_win.cpp
  src/base/file_system_win.cpp
  src/base/error_box_win.cpp
  src/base/process_token_win.cpp
  src/base/thread_win.cpp
  src/base/trace_win.cpp
  src/jvm/class_data_archive_win.cpp
  src/jvm/jar_splash_win.cpp
  src/jvm/java_environment_win.cpp
  src/jvm/java_main_thread_win.cpp
  src/jvm/java_runtime_win.cpp
  src/jvm/stream_files_win.cpp
  src/jvm/java_strings.cpp
  src/jvm/java_vm.cpp
  src/ui/dialog_placement_win.cpp
  src/ui/failure_dialog_win.cpp
  src/ui/folder_browser_win.cpp
  src/ui/hyperlink_win.cpp
  src/ui/runtime_folder_dialog_win.cpp
  src/ui/runtime_splash_win.cpp
  src/ui/splash_screen_win.cpp
  src/ui/splash_window_win.cpp
  src/jvm/main_invocation.cpp
  src/jvm/runtime_output.cpp
  src/jvm/runtime_output_win.cpp
  src/jvm/main_method_lookup.cpp
  src/jvm/secondary_main.cpp
  src/jvm/stream_redirection.cpp
  src/jvm/vm_option_assembly_win.cpp
  src/runtime/pe_image_file_win.cpp
  src/runtime/registry_key_win.cpp
  src/runtime/runtime_environment_win.cpp
  src/settings/profile_file_win.cpp
  src/settings/settings_files_win.cpp
)
target_link_libraries(launcher_win PUBLIC launcher_core comctl32 ole32 shell32)
target_compile_options(launcher_core PRIVATE ${LAUNCHER_LEAN_FLAGS})
target_compile_options(launcher_win PRIVATE ${LAUNCHER_LEAN_FLAGS})
# jni.h from the JDK, with the Windows jni_md.h of our own ahead of anything else of that name.
target_include_directories(launcher_win PUBLIC src/jvm/include "${LAUNCHER_JDK_INCLUDE}")

# add_launcher(TARGET NAME [CONSOLE]): the launcher as NAME.exe, a windowed program or, with
# CONSOLE, a console program whose messages go to standard error. lean_runtime.cpp keeps the
# library's exception support out; the test programs, which link the library too, keep it.
function(add_launcher target name)
  if(ARGN STREQUAL "CONSOLE")
    add_executable(${target} src/app/main_win.cpp src/app/lean_runtime_win.cpp src/resources/launcher.rc)
    target_compile_definitions(${target} PRIVATE LAUNCHER_CONSOLE)
  else()
    add_executable(${target} WIN32 src/app/main_win.cpp src/app/lean_runtime_win.cpp src/resources/launcher.rc)
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name})
  target_link_libraries(${target} PRIVATE launcher_win)
  target_compile_options(${target} PRIVATE ${LAUNCHER_LEAN_FLAGS})
  target_link_options(${target} PRIVATE -municode ${LAUNCHER_LTO_LINK})
  target_include_directories(${target} PRIVATE src/resources)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND sh -c "echo \"$0: $(stat -c %s \"$1\") bytes (budget $2)\"" $<TARGET_FILE_NAME:${target}>
            $<TARGET_FILE:${target}> ${LAUNCHER_SIZE_BUDGET_${LAUNCHER_ARCH}}
    VERBATIM)
endfunction()
add_launcher(launcher ${LAUNCHER_NAME})
add_launcher(launcher_console ${LAUNCHER_NAME}c CONSOLE)

include(cmake/branding.cmake)

add_subdirectory(testing/uidriver)
add_subdirectory(testing/cmdecho)
add_subdirectory(testing/instancepeer)
add_subdirectory(testing/planted)
add_subdirectory(testing/splashlib)
add_subdirectory(testing/testjvm)
if(BUILD_TESTING)
  include(cmake/wine_tests.cmake)
endif()
