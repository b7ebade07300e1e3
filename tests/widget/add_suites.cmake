# Run after widget_tests is built: writes OUTPUT, a CTest file with one test
# per suite of EXECUTABLE, each run through WRAPPER (the display), so that a
# failing test names its suite and does not hide the other suites.
execute_process(COMMAND ${EXECUTABLE} --gtest_list_tests
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXECUTABLE} --gtest_list_tests failed: ${status}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(script "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z0-9_/]+)\\.")
    set(suite ${CMAKE_MATCH_1})
    string(APPEND script
           "add_test([==[widget.${suite}]==] [==[${WRAPPER}]==] [==[${EXECUTABLE}]==] "
           "[==[--gtest_filter=${suite}.*]==])\n"
           "set_tests_properties([==[widget.${suite}]==] PROPERTIES SKIP_RETURN_CODE 77 "
           "TIMEOUT 300)\n")
  endif()
endforeach()
file(WRITE ${OUTPUT} "${script}")
