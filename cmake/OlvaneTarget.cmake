# Common settings for every target of our own: warnings as errors, sanitizers when asked.
function(olvane_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Wconversion -Wno-sign-conversion -Werror)
  # GCC 12 at -O3 reports `"literal" + std::string` as an overlapping copy (a false positive).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(OLVANE_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# olvane_library(name SOURCES ... DEPS ...)
function(olvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  olvane_target_defaults(${name})
endfunction()

# olvane_test(name SOURCES ... DEPS ... [OWN_MAIN] [PREFIX p]): one gtest executable, its cases discovered by
# ctest. OWN_MAIN: the sources bring their own main() (the Qt tests make their application there).
function(olvane_test name)
  # PREFIX names the tests of an executable that runs tests of another one in other conditions.
  # SCALED runs its cases again on desktops scaled to 150 % and 200 % (`--dpi=144`, `--dpi=192`).
  # RESOURCE_LOCK: the cases of executables naming the same lock never run at once.
  cmake_parse_arguments(ARG "OWN_MAIN;SCALED" "PREFIX;RESOURCE_LOCK" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} olvane_test_support GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  olvane_target_defaults(${name})
  target_compile_definitions(${name} PRIVATE OLVANE_BUILD_DIR="${PROJECT_BINARY_DIR}")
  # The leak suppressions travel with each test (and the programs it starts), so that a plain
  # ctest and scripts/test judge leaks alike. The time limit only catches a hang: on a loaded
  # machine the cases that start our programs take minutes.
  set(properties TIMEOUT 600 ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/sanitizers/lsan.supp:print_suppressions=0")
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  if(ARG_RESOURCE_LOCK)
    list(APPEND properties RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 300 TEST_PREFIX "${ARG_PREFIX}"
                       PROPERTIES ${properties})
  if(ARG_SCALED)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 300 TEST_PREFIX "${ARG_PREFIX}Ratio1.5."
                         EXTRA_ARGS --dpi=144 PROPERTIES ${properties})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 300 TEST_PREFIX "${ARG_PREFIX}Ratio2."
                         EXTRA_ARGS --dpi=192 PROPERTIES ${properties})
  endif()
endfunction()

# olvane_module(name SOURCES ... [DEPS ...] [OPENED_BY target]): a shared object of ours that
# `target` opens through platform::LoadableModule. Its GNU build ID is written after each link
# into <name>_build_id.h, which `target` may include: it defines <NAME>_BUILD_ID, the only build
# the loader takes. The header changes only with the module, so nothing else is rebuilt for it.
function(olvane_module name)
  cmake_parse_arguments(ARG "" "OPENED_BY" "SOURCES;DEPS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -Wl,--build-id=sha1)
  olvane_target_defaults(${name})
  if(NOT ARG_OPENED_BY)
    return()
  endif()
  if(NOT CMAKE_READELF)
    message(FATAL_ERROR "readelf est nécessaire pour lire l’identifiant de construction de ${name}")
  endif()
  string(TOUPPER "${name}_BUILD_ID" macro)
  set(header "${CMAKE_CURRENT_BINARY_DIR}/${name}_build_id.h")
  add_custom_command(OUTPUT "${header}"
    COMMAND "${CMAKE_COMMAND}" "-DREADELF=${CMAKE_READELF}" "-DMODULE=$<TARGET_FILE:${name}>"
            "-DHEADER=${header}" "-DMACRO=${macro}" -P "${PROJECT_SOURCE_DIR}/cmake/ModuleBuildId.cmake"
    DEPENDS ${name} "${PROJECT_SOURCE_DIR}/cmake/ModuleBuildId.cmake"
    VERBATIM)
  target_sources(${ARG_OPENED_BY} PRIVATE "${header}")
  target_include_directories(${ARG_OPENED_BY} PRIVATE "${CMAKE_CURRENT_BINARY_DIR}")
endfunction()
