# Run after a Qt Test executable is built (QtTestDiscovery.cmake): lists its test functions and
# writes one CTest test per function into CTEST_FILE. Fails the build when the executable cannot
# list them.
execute_process(
  COMMAND "${TEST_EXECUTABLE}" -functions
  WORKING_DIRECTORY "${TEST_WORKING_DIR}"
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE result
  TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} -functions failed (${result}):\n${output}${errors}")
endif()

# Property values as bracket arguments, so that a value may hold any character.
set(properties "")
list(LENGTH TEST_PROPERTIES count)
if(count GREATER 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR v "${i} + 1")
    list(GET TEST_PROPERTIES ${i} key)
    list(GET TEST_PROPERTIES ${v} value)
    string(APPEND properties " ${key} [==[${value}]==]")
  endforeach()
endif()

set(script "")
set(found 0)
string(REPLACE "\n" ";" lines "${output}")
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\\(\\)$")
    set(name "${TEST_TARGET}.${CMAKE_MATCH_1}")
    string(APPEND script
      "add_test([==[${name}]==] [==[${TEST_EXECUTABLE}]==] [==[${CMAKE_MATCH_1}]==])\n"
      "set_tests_properties([==[${name}]==] PROPERTIES WORKING_DIRECTORY [==[${TEST_WORKING_DIR}]==]${properties})\n")
    math(EXPR found "${found} + 1")
  endif()
endforeach()
if(found EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} -functions listed no test function:\n${output}${errors}")
endif()
file(WRITE "${CTEST_FILE}" "${script}")
