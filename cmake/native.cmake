# The native build: the portable logic with its unit tests, under AddressSanitizer and UBSan.

option(LAUNCHER_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(LAUNCHER_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  # The directory options reach only targets made after this point; the core was made before,
  # and it is the code under test.
  target_compile_options(launcher_core PRIVATE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
endif()

if(BUILD_TESTING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  add_executable(unit_tests
    tests/unit/class_data_archive_test.cpp
    tests/unit/class_path_test.cpp
    tests/unit/jar_reader_test.cpp
    tests/unit/command_line_test.cpp
    tests/unit/companion_decision_test.cpp
    tests/unit/env_expand_test.cpp
    tests/unit/instance_block_test.cpp
    tests/unit/java_environment_test.cpp
    tests/unit/java_version_test.cpp
    tests/unit/launcher_settings_test.cpp
    tests/unit/memory_share_test.cpp
    tests/unit/message_format_test.cpp
    tests/unit/parent_folders_test.cpp
    tests/unit/path_test.cpp
    tests/unit/pe_header_check_test.cpp
    tests/unit/profile_read_test.cpp
    tests/unit/release_file_test.cpp
    tests/unit/registry_value_test.cpp
    tests/unit/runtime_folder_rules_test.cpp
    tests/unit/runtime_search_test.cpp
    tests/unit/runtime_words_test.cpp
    tests/unit/splash_rules_test.cpp
    tests/unit/settings_paths_test.cpp
    tests/unit/settings_reference_test.cpp
    tests/unit/text_test.cpp
    tests/unit/time_stamp_test.cpp
    tests/unit/vendor_runtime_search_test.cpp
    tests/unit/main_entry_test.cpp
    tests/unit/vm_parameters_test.cpp
    tests/unit/unique_any_test.cpp
  )
  target_link_libraries(unit_tests PRIVATE launcher_core GTest::gtest_main)
  # The branding command's readers and writers, under the sanitizers too.
  target_sources(unit_tests PRIVATE tests/unit/brand_test.cpp brand/brand_edits.cpp brand/pe_resources.cpp
    brand/resource_writer.cpp brand/version_resource.cpp)
  target_include_directories(unit_tests PRIVATE brand)
  target_compile_definitions(unit_tests PRIVATE LAUNCHER_README="${PROJECT_SOURCE_DIR}/README.md")
  gtest_discover_tests(unit_tests TEST_PREFIX "unit." PROPERTIES LABELS "unit")

  # Each source folder includes only the folders below it (tools/check-layers has the order).
  add_test(NAME unit.layers COMMAND ${PROJECT_SOURCE_DIR}/tools/check-layers ${PROJECT_SOURCE_DIR}/src)
  add_test(NAME unit.layers.catches_wrong_include
    COMMAND sh ${PROJECT_SOURCE_DIR}/tests/layers/check-layers-test.sh ${PROJECT_SOURCE_DIR}/tools/check-layers)
  set_tests_properties(unit.layers unit.layers.catches_wrong_include PROPERTIES LABELS "unit")
  # The bench's Debian archive, read from apt sources of each kind a machine may have.
  add_test(NAME unit.tools.apt_archive
    COMMAND sh ${PROJECT_SOURCE_DIR}/tests/tools/apt_archive_test.sh ${PROJECT_SOURCE_DIR}/tools/bench-common.sh)
  set_tests_properties(unit.tools.apt_archive PROPERTIES LABELS "unit")
  include(cmake/jvm_tests.cmake)
endif()
