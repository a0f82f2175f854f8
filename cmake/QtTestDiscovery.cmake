# Each test function of a Qt Test executable as a CTest test of its own, "<target>.<function>", so
# that `ctest -j` runs them side by side. After every build of the target the executable lists its
# functions (its -functions option) and QtTestList.cmake writes an add_test for each into a file
# that CTest reads through TEST_INCLUDE_FILES, as gtest_discover_tests does for GoogleTest. A
# data-driven function runs whole, with all its rows. PROPERTIES are set on every test.
#
#   tessivo_discover_qtests(test_mainwindow PROPERTIES TIMEOUT 120)

set(_TESSIVO_QTEST_LIST_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/QtTestList.cmake)

function(tessivo_discover_qtests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PROPERTIES")
  set(tests_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_qtests.cmake")
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_qtests_include.cmake")
  add_custom_command(
    TARGET ${target} POST_BUILD
    BYPRODUCTS "${tests_file}"
    COMMAND "${CMAKE_COMMAND}"
            -D "TEST_TARGET=${target}"
            -D "TEST_EXECUTABLE=$<TARGET_FILE:${target}>"
            -D "TEST_WORKING_DIR=${CMAKE_CURRENT_BINARY_DIR}"
            -D "TEST_PROPERTIES=${arg_PROPERTIES}"
            -D "CTEST_FILE=${tests_file}"
            -P "${_TESSIVO_QTEST_LIST_SCRIPT}"
    VERBATIM)
  # Until the target is built, one test that fails says so.
  file(WRITE "${include_file}"
    "if(EXISTS \"${tests_file}\")\n"
    "  include(\"${tests_file}\")\n"
    "else()\n"
    "  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
