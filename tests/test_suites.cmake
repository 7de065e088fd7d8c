# Writes a CTest file with one test per GoogleTest suite of a test program: each suite runs in
# a process of its own (--gtest_filter=Suite.*), so a program's start, costly under the
# sanitizers, is paid once per suite rather than once per test.
#   cmake -DTEST_PROGRAM=… -DCTEST_FILE=… -DTIMEOUT=… [-DENVIRONMENT=…] -P test_suites.cmake
execute_process(COMMAND "${TEST_PROGRAM}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TEST_PROGRAM} --gtest_list_tests failed (${status}):\n${errors}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(suites "")
foreach(line IN LISTS lines)
  # A suite's line starts at the margin and ends with its dot (a comment may follow).
  if(line MATCHES "^([A-Za-z_][A-Za-z0-9_/]*)\\.( |$)")
    list(APPEND suites "${CMAKE_MATCH_1}")
  endif()
endforeach()
if(NOT suites)
  message(FATAL_ERROR "${TEST_PROGRAM} lists no tests")
endif()
set(content "")
foreach(suite IN LISTS suites)
  string(APPEND content "add_test([=[${suite}]=] [=[${TEST_PROGRAM}]=] [=[--gtest_filter=${suite}.*]=])\n")
  string(APPEND content "set_tests_properties([=[${suite}]=] PROPERTIES TIMEOUT ${TIMEOUT}")
  if(ENVIRONMENT)
    string(APPEND content " ENVIRONMENT [=[${ENVIRONMENT}]=]")
  endif()
  string(APPEND content ")\n")
endforeach()
file(WRITE "${CTEST_FILE}.new" "${content}")
file(RENAME "${CTEST_FILE}.new" "${CTEST_FILE}")
