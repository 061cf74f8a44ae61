# The branding command, launcher-brand.exe for Windows vendors and launcher-brand for the build
# host, and, with LAUNCHER_BRAND set, the vendor's branded launchers made at build time.

set(LAUNCHER_BRAND_SOURCES brand/brand_main.cpp brand/brand_edits.cpp brand/pe_resources.cpp brand/resource_writer.cpp
  brand/version_resource.cpp)
add_executable(launcher_brand ${LAUNCHER_BRAND_SOURCES})
set_target_properties(launcher_brand PROPERTIES OUTPUT_NAME launcher-brand)
target_link_options(launcher_brand PRIVATE -municode)

# The same source for the machine that builds: a cross build has no host target, so the host's
# compiler is called directly.
find_program(LAUNCHER_HOST_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(LAUNCHER_BRAND_HOST ${CMAKE_BINARY_DIR}/host/launcher-brand)
list(TRANSFORM LAUNCHER_BRAND_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE brand_host_sources)
add_custom_command(OUTPUT ${LAUNCHER_BRAND_HOST}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${LAUNCHER_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -o ${LAUNCHER_BRAND_HOST} ${brand_host_sources}
  DEPENDS ${brand_host_sources} brand/brand_edits.h brand/pe_resources.h brand/version_resource.h
  COMMENT "Building the branding command for the build host")
add_custom_target(launcher_brand_host ALL DEPENDS ${LAUNCHER_BRAND_HOST})

# LAUNCHER_BRAND: a brand description (see README, "Shipping your application"). Its Name= line
# names the branded executables: NAME.exe and NAMEc.exe from the x86 build, NAME64.exe and
# NAME64c.exe from the x64 build.
set(LAUNCHER_BRAND "" CACHE FILEPATH "Brand description file; empty for no branded launchers")
if(LAUNCHER_BRAND)
  file(STRINGS ${LAUNCHER_BRAND} brand_name REGEX "^Name=")
  string(REGEX REPLACE "^Name=" "" brand_name "${brand_name}")
  if(NOT brand_name MATCHES "^[^\\\\/:*?\"<>|]+$")
    message(FATAL_ERROR "${LAUNCHER_BRAND}: needs one Name= line with a file name for the branded executables")
  endif()
  if(LAUNCHER_ARCH STREQUAL "x64")
    string(APPEND brand_name 64)
  endif()
  file(STRINGS ${LAUNCHER_BRAND} brand_files REGEX "^(Icon|Strings)=")
  list(TRANSFORM brand_files REPLACE "^[A-Za-z]+=" "")
  get_filename_component(brand_folder ${LAUNCHER_BRAND} DIRECTORY)
  list(TRANSFORM brand_files PREPEND ${brand_folder}/)
  set(branded)
  foreach(target launcher launcher_console)
    set(suffix "")
    if(target STREQUAL "launcher_console")
      set(suffix c)
    endif()
    set(out ${CMAKE_BINARY_DIR}/branded/${brand_name}${suffix}.exe)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/branded
      COMMAND ${LAUNCHER_BRAND_HOST} $<TARGET_FILE:${target}> ${out} --from ${LAUNCHER_BRAND}
      DEPENDS ${target} ${LAUNCHER_BRAND_HOST} ${LAUNCHER_BRAND} ${brand_files}
      COMMENT "Branding ${brand_name}${suffix}.exe")
    list(APPEND branded ${out})
  endforeach()
  add_custom_target(branded_launchers ALL DEPENDS ${branded})
endif()
