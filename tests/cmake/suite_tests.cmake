# Read by ctest before it runs anything: one ctest test per GoogleTest suite of TEST_BINARY,
# all its cases in one process, so a process starts per suite rather than per case; a failing
# case is named in its suite's output. Bigger suites are started first.
execute_process(COMMAND "${TEST_BINARY}" --list-suites
                WORKING_DIRECTORY "${TEST_WORKING_DIRECTORY}"
                OUTPUT_VARIABLE listing ERROR_VARIABLE listing_errors RESULT_VARIABLE listed TIMEOUT 120)
if(NOT listed EQUAL 0)
    # Reported as a failing test rather than as no tests at all.
    add_test(ListingTheSuites "${TEST_BINARY}" --list-suites)
    return()
endif()
string(REPLACE "\n" ";" suites "${listing}")
foreach(line IN LISTS suites)
    if(NOT line MATCHES "^([^ ]+) ([0-9]+)$")
        continue()
    endif()
    set(suite "${CMAKE_MATCH_1}")
    add_test("${suite}" "${TEST_BINARY}" "--gtest_filter=${suite}.*")
    set_tests_properties("${suite}" PROPERTIES
        WORKING_DIRECTORY "${TEST_WORKING_DIRECTORY}"
        ENVIRONMENT "${TEST_ENVIRONMENT}"
        TIMEOUT "${TEST_TIMEOUT}"
        COST "${CMAKE_MATCH_2}")
endforeach()
