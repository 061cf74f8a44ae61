# Tests of the Windows executables. On x64 each runs in the bench's Wine tree as it comes; on
# x86 they all run in one boot of the bench's virtual machine (tools/x86-batch), and each test
# reads its own result from that batch.

set(TOOLS ${PROJECT_SOURCE_DIR}/tools)
set(X86_LIST ${CMAKE_BINARY_DIR}/x86-cases.list)
set(X86_RESULTS ${CMAKE_BINARY_DIR}/x86-results)
file(WRITE ${X86_LIST} "")
find_program(LAUNCHER_OBJDUMP ${TOOLCHAIN_PREFIX}-objdump REQUIRED)

# Host-side checks of the executable's headers.
add_test(NAME win.${LAUNCHER_ARCH}.image
  COMMAND sh ${PROJECT_SOURCE_DIR}/tests/image/check-pe.sh $<TARGET_FILE:launcher> ${LAUNCHER_ARCH} ${LAUNCHER_OBJDUMP})
set_tests_properties(win.${LAUNCHER_ARCH}.image PROPERTIES LABELS "win;${LAUNCHER_ARCH}")

# Each launcher within the size budget set in cmake/windows.cmake.
add_test(NAME win.${LAUNCHER_ARCH}.size
  COMMAND sh -c "for f in \"$@\"; do s=$(stat -c %s \"$f\"); echo \"$f: $s bytes, budget $0\"; [ $s -le $0 ] || exit 1; done"
          ${LAUNCHER_SIZE_BUDGET_${LAUNCHER_ARCH}} $<TARGET_FILE:launcher> $<TARGET_FILE:launcher_console>)
# The branding command for the build host, on this build's launcher; and branded copies of both
# launchers for the cases that start them under Wine (tests/e2e/branded_launcher.sh).
find_program(LAUNCHER_WINDRES ${TOOLCHAIN_PREFIX}-windres REQUIRED)
add_test(NAME win.${LAUNCHER_ARCH}.brand
  COMMAND sh ${PROJECT_SOURCE_DIR}/tests/brand/check-brand.sh ${LAUNCHER_BRAND_HOST} $<TARGET_FILE:launcher>
          ${LAUNCHER_OBJDUMP} ${LAUNCHER_WINDRES} ${LAUNCHER_ARCH} $<TARGET_FILE:launcher_brand> ${CMAKE_BINARY_DIR}/brand-check)
set_tests_properties(win.${LAUNCHER_ARCH}.size win.${LAUNCHER_ARCH}.brand PROPERTIES LABELS "win;${LAUNCHER_ARCH}")
set(branded_dir ${CMAKE_BINARY_DIR}/branded-test)
add_custom_command(OUTPUT ${branded_dir}/app.exe ${branded_dir}/appc.exe
  COMMAND ${CMAKE_COMMAND} -E make_directory ${branded_dir}
  COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/brand/make-icon.py ${branded_dir}/app.ico 16 32 256
  COMMAND ${LAUNCHER_BRAND_HOST} $<TARGET_FILE:launcher> ${branded_dir}/app.exe --icon ${branded_dir}/app.ico
          --set ProductName=Branded --set FileVersion=2.0
  COMMAND ${LAUNCHER_BRAND_HOST} $<TARGET_FILE:launcher_console> ${branded_dir}/appc.exe --icon ${branded_dir}/app.ico
          --strings ${PROJECT_SOURCE_DIR}/tests/brand/strings-test.txt
  DEPENDS launcher launcher_console ${LAUNCHER_BRAND_HOST} tests/brand/make-icon.py tests/brand/strings-test.txt)
add_custom_target(branded_test_launchers ALL DEPENDS ${branded_dir}/app.exe ${branded_dir}/appc.exe)

# Windows-side unit tests against the real Win32 calls.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_executable(win_tests
  tests/win/environment_test.cpp
  tests/win/error_box_test.cpp
  tests/win/profile_file_test.cpp
  tests/win/runtime_registry_test.cpp
  tests/win/pe_image_file_test.cpp
  tests/win/runtime_output_test.cpp
  tests/win/settings_files_test.cpp
  tests/win/single_instance_test.cpp
  tests/win/vm_options_test.cpp
  src/resources/launcher.rc
)
# The texts resource_ids.h declares, with the placeholders its comments name, for the test that
# checks each against the executable's resources.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/resources/resource_ids.h)
file(STRINGS ${PROJECT_SOURCE_DIR}/src/resources/resource_ids.h declared_texts REGEX "^#define IDS_")
set(message_ids "")
foreach(line IN LISTS declared_texts)
  string(REGEX MATCH "^#define (IDS_[A-Z0-9_]+) +([0-9]+)(.*)$" matched "${line}")
  set(text_name ${CMAKE_MATCH_1})
  set(text_id ${CMAKE_MATCH_2})
  string(REGEX MATCHALL "%l[su]" placeholders "${CMAKE_MATCH_3}")
  list(JOIN placeholders " " placeholders)
  string(APPEND message_ids "{${text_id}, u\"${placeholders}\", \"${text_name}\"},\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/generated/message_ids.inc "${message_ids}")
target_include_directories(win_tests PRIVATE src/resources ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(win_tests PRIVATE launcher_win GTest::gtest_main)
target_link_options(win_tests PRIVATE -fno-lto)

# The dialogs against the real resources; they need a desktop, so they run in the gui layer.
add_executable(win_ui_tests tests/win/runtime_folder_dialog_test.cpp tests/win/message_owner_test.cpp
  src/resources/launcher.rc)
target_include_directories(win_ui_tests PRIVATE src/resources tests/win)
target_link_libraries(win_ui_tests PRIVATE launcher_win GTest::gtest_main)
target_link_options(win_ui_tests PRIVATE -fno-lto)

# A small DLL of each architecture, whichever this build is, for the module header tests.
foreach(image x86:i686-w64-mingw32 x64:x86_64-w64-mingw32)
  string(REPLACE ":" ";" image ${image})
  list(GET image 0 machine)
  list(GET image 1 compiler)
  set(dll ${CMAKE_BINARY_DIR}/images/probe-${machine}.dll)
  add_custom_command(OUTPUT ${dll}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/images
    COMMAND ${compiler}-gcc -shared -s -o ${dll} ${PROJECT_SOURCE_DIR}/testing/images/probe.c
    DEPENDS ${PROJECT_SOURCE_DIR}/testing/images/probe.c)
  list(APPEND probe_images ${dll})
endforeach()
# A jvm.dll of a machine no launcher starts (ARM64) and one of this build's machine that fails to
# load, made from the probe of this build's machine.
set(variant_tool ${PROJECT_SOURCE_DIR}/testing/images/pe-variant.py)
set(own_probe ${CMAKE_BINARY_DIR}/images/probe-${LAUNCHER_ARCH}.dll)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/images/probe-arm64.dll ${CMAKE_BINARY_DIR}/images/unloadable.dll
  COMMAND python3 ${variant_tool} ${own_probe} ${CMAKE_BINARY_DIR}/images/probe-arm64.dll machine=0xAA64
  COMMAND python3 ${variant_tool} ${own_probe} ${CMAKE_BINARY_DIR}/images/unloadable.dll missing-import
  DEPENDS ${own_probe} ${variant_tool})
list(APPEND probe_images ${CMAKE_BINARY_DIR}/images/probe-arm64.dll ${CMAKE_BINARY_DIR}/images/unloadable.dll)
add_custom_target(probe_images ALL DEPENDS ${probe_images})
# The splash cases' images.
set(splash_images ${CMAKE_BINARY_DIR}/splash-images/flat-400x300.png)
add_custom_command(OUTPUT ${splash_images}
  COMMAND python3 ${TOOLS}/splash-images ${CMAKE_BINARY_DIR}/splash-images
  DEPENDS ${TOOLS}/splash-images)
add_custom_target(splash_images ALL DEPENDS ${splash_images})
# The end-to-end cases copy the test runtime's variants from the build.
add_dependencies(win_tests testjvm_all planted_all splashlib_all splash_images instancepeer)
add_dependencies(win_ui_tests probe_images)

# add_bench_test(NAME LAYER COMMAND...): one test of LAYER (win or gui) for this architecture.
# Tests of one layer share a Wine prefix and so its registry; those that change it or depend on
# it hold the layer's registry lock.
function(add_bench_test name layer)
  set(test ${layer}.${LAUNCHER_ARCH}.${name})
  if(LAUNCHER_ARCH STREQUAL "x64")
    add_test(NAME ${test} COMMAND env BENCH_LAYER=${layer} ${TOOLS}/in-chroot ${ARGN}
             WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED bench.x64 TIMEOUT 120)
  else()
    list(JOIN ARGN " " command)
    file(APPEND ${X86_LIST} "${layer} ${name} ${command}\n")
    add_test(NAME ${test} COMMAND sh ${TOOLS}/batch-result ${X86_RESULTS} ${name})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED bench.x86)
  endif()
  set_property(TEST ${test} APPEND PROPERTY LABELS ${layer} ${LAUNCHER_ARCH})
endfunction()

# add_scenario(NAME LAYER): the end-to-end case tests/e2e/NAME.sh.
function(add_scenario name layer)
  add_bench_test(${name} ${layer} sh ${PROJECT_SOURCE_DIR}/tests/e2e/run.sh ${LAUNCHER_ARCH} ${CMAKE_BINARY_DIR}
                 ${PROJECT_SOURCE_DIR}/tests/e2e/${name}.sh)
endfunction()

add_bench_test(win_tests win wine ${CMAKE_BINARY_DIR}/win_tests.exe --gtest_color=no)
add_bench_test(win_ui_tests gui wine ${CMAKE_BINARY_DIR}/win_ui_tests.exe --gtest_color=no)
add_scenario(main_class_missing win)
add_scenario(main_class_missing_box gui)
add_scenario(pair_relaunch win)
add_scenario(registry_relaunch win)
add_scenario(no_runtime_box gui)
add_scenario(runtime_folder_dialog gui)
add_scenario(runtime_folder_link gui)
add_scenario(runtime_folder_headless win)
add_scenario(working_dir_override win)
add_scenario(java_start win)
add_scenario(java_exit_codes win)
add_scenario(java_failure_messages gui)
add_scenario(failure_dialog gui)
add_scenario(stream_redirection win)
add_scenario(current_folder win)
add_scenario(non_ansi_folder win)
add_scenario(console_launcher win)
add_scenario(branded_launcher win)
add_scenario(runtime_splash gui)
add_scenario(vendor_keys win)
add_scenario(machine_check win)
add_scenario(class_data_archive win)
if(LAUNCHER_ARCH STREQUAL "x86")
  add_scenario(pair_relaunch_to_x64 win)
  add_scenario(single_instance_pair win)
else()
  # The splash window does not differ by architecture; the runtime's splash library does.
  add_scenario(splash_window gui)
  # Long paths do not differ by architecture.
  add_scenario(long_path win)
  add_scenario(dialog_scale gui)
  # Which options reach the runtime does not differ by architecture either.
  add_scenario(application_shapes gui)
endif()
add_scenario(single_instance win)
add_scenario(single_instance_off win)
if(LAUNCHER_ARCH STREQUAL "x64")
  # Some forty program starts each, twenty of them at once.
  set_tests_properties(win.x64.single_instance win.x64.single_instance_off PROPERTIES TIMEOUT 300)
  set_tests_properties(win.x64.win_tests win.x64.registry_relaunch win.x64.runtime_folder_headless
                       win.x64.vendor_keys win.x64.machine_check
                       PROPERTIES RESOURCE_LOCK registry.win)
  set_tests_properties(gui.x64.no_runtime_box gui.x64.runtime_folder_dialog gui.x64.runtime_folder_link
                       PROPERTIES RESOURCE_LOCK registry.gui)
endif()

if(LAUNCHER_ARCH STREQUAL "x64")
  add_test(NAME bench.x64.up COMMAND ${TOOLS}/bench-up)
  add_test(NAME bench.x64.down COMMAND ${TOOLS}/bench-down)
  set_tests_properties(bench.x64.up PROPERTIES FIXTURES_SETUP bench.x64 LABELS "bench;x64" TIMEOUT 900)
  set_tests_properties(bench.x64.down PROPERTIES FIXTURES_CLEANUP bench.x64 LABELS "bench;x64")
else()
  # The emulated machine runs the whole batch in 28 to 32 minutes on a quiet 2-core host; the
  # limit leaves room for a busier one.
  add_test(NAME bench.x86.batch COMMAND ${TOOLS}/x86-batch ${X86_LIST} ${X86_RESULTS})
  set_tests_properties(bench.x86.batch PROPERTIES FIXTURES_SETUP bench.x86 LABELS "bench;x86" TIMEOUT 3000)
endif()
