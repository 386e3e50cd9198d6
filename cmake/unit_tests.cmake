# One GoogleTest binary of unit tests, a binary per library or tool:
#   aerilon_unit_tests(NAME SOURCES file... LIBRARIES target...)
# Each links the tests' shared support (files in memory with faults on
# demand) and knows the source tree (AERILON_SOURCE_DIR) for its data.
find_package(GTest REQUIRED)
include(GoogleTest)

function(aerilon_unit_tests name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} aerilon_test_support GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE AERILON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # GoogleTest and the standard headers most tests use, parsed once a
  # binary instead of in each test file.
  target_precompile_headers(${name} PRIVATE
    <gtest/gtest.h> <algorithm> <cstring> <filesystem> <fstream> <functional> <map> <optional>
    <set> <string> <variant> <vector>)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
endfunction()
