# kv_warnings(target): the project's warning set, errors in CI.
function(kv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  if(KV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# kv_test(name SOURCES... LIBS...): one GoogleTest executable registered with CTest.
function(kv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  kv_warnings(${name})
  # The test-data folder reaches the tests through the environment (one
  # variable: the discovery module cannot carry a list of them); the source and
  # output folders are compiled in.
  target_compile_definitions(${name} PRIVATE
    KV_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KV_TEST_BIN_DIR="${KV_BIN_DIR}" KV_TEST_DATA_DIR="${KV_TEST_DATA}")
  gtest_discover_tests(${name} WORKING_DIRECTORY ${KV_BIN_DIR} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "KV_TEST_DATA=${KV_TEST_DATA}")
endfunction()
