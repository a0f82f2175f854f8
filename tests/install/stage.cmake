# Installs the build in BUILD as a package build does (DESTDIR=STAGE, prefix PREFIX) and makes the
# whole install read-only; with UNSTAGE set, only removes an earlier one.
if(EXISTS "${STAGE}")
  execute_process(COMMAND chmod -R u+w "${STAGE}")
  file(REMOVE_RECURSE "${STAGE}")
endif()
if(UNSTAGE)
  return()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()
execute_process(COMMAND chmod -R a-w "${STAGE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot make ${STAGE} read-only")
endif()
