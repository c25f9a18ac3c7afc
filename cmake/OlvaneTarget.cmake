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

# olvane_test(name SOURCES ... DEPS ... [OWN_MAIN]): one gtest executable, its cases discovered by
# ctest. OWN_MAIN: the sources bring their own main() (the Qt tests make their application there).
function(olvane_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;DEPS;LABELS" ${ARGN})
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
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 300 PROPERTIES ${properties})
endfunction()
