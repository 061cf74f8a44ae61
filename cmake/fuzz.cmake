# The fuzz build: libFuzzer targets for the parsers and rules that read text and files the
# launcher does not control, with AddressSanitizer and UBSan. A separate configure with clang,
# so that the native g++ build stays as it is.

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LAUNCHER_FUZZ needs clang, whose libFuzzer drives the targets")
endif()

# A few seconds each keeps `make test` short with a dozen targets; `make fuzz` runs them longer.
set(FUZZ_SECONDS 3 CACHE STRING "How long each fuzz test runs; FUZZ_SECONDS in the environment overrides it")
set(fuzz_sanitizers address,undefined)
target_compile_options(launcher_core PRIVATE
  -fsanitize=fuzzer-no-link,${fuzz_sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)

# launcher_fuzz_target(NAME [SOURCES FILE...] [FLAGS -FLAG=VALUE...]): tests/fuzz/NAME_fuzz.cpp
# with the core, and SOURCES built into the target beside it; FLAGS go to libFuzzer.
function(launcher_fuzz_target name)
  cmake_parse_arguments(PARSE_ARGV 1 fuzz "" "" "SOURCES;FLAGS")
  add_executable(fuzz_${name} tests/fuzz/${name}_fuzz.cpp ${fuzz_SOURCES})
  target_link_libraries(fuzz_${name} PRIVATE launcher_core)
  target_compile_options(fuzz_${name} PRIVATE -Wall -Wextra
    -fsanitize=fuzzer,${fuzz_sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,${fuzz_sanitizers})
  # New inputs are kept in the build tree between runs; the seeds in the source tree are only read.
  add_test(NAME unit.fuzz.${name}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/fuzz/run-fuzzer $<TARGET_FILE:fuzz_${name}> ${FUZZ_SECONDS}
            ${CMAKE_BINARY_DIR}/corpus/${name} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name} ${fuzz_FLAGS})
  set_tests_properties(unit.fuzz.${name} PROPERTIES LABELS "unit")
endfunction()

launcher_fuzz_target(java_version_parse)
launcher_fuzz_target(pe_header)
launcher_fuzz_target(class_path)
launcher_fuzz_target(assembly_command_line)
launcher_fuzz_target(jar_reader)
launcher_fuzz_target(command_line)
launcher_fuzz_target(env_expand)
launcher_fuzz_target(memory_share)
launcher_fuzz_target(message_format)
launcher_fuzz_target(parent_folders)
launcher_fuzz_target(profile_read)
launcher_fuzz_target(registry_value)
launcher_fuzz_target(runtime_words)
launcher_fuzz_target(settings)
launcher_fuzz_target(time_stamp)
launcher_fuzz_target(vm_parameters)

# The branding command's readers of the launcher it is given. What they read must stay a small
# multiple of the input, which is a few kilobytes here: an allocation past 64 MB is a fault. The
# process limit leaves room for AddressSanitizer's quarantine of freed memory (256 MB).
set(brand_fuzz_sources brand/pe_resources.cpp brand/resource_writer.cpp brand/version_resource.cpp brand/brand_edits.cpp)
launcher_fuzz_target(brand_resources SOURCES ${brand_fuzz_sources} FLAGS -malloc_limit_mb=64 -rss_limit_mb=1024)
launcher_fuzz_target(brand_version SOURCES ${brand_fuzz_sources} FLAGS -malloc_limit_mb=64 -rss_limit_mb=1024)
target_include_directories(fuzz_brand_resources PRIVATE brand)
target_include_directories(fuzz_brand_version PRIVATE brand)
