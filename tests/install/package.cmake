# Makes the Debian package of the build in BUILD (cpack -G DEB) in the folder OUT and checks what
# it holds and what it depends on; the folder is removed afterwards.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND ${CPACK} -G DEB -B "${OUT}" --config "${BUILD}/CPackConfig.cmake"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages "${OUT}/tessivo_*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package in ${OUT}, found: ${packages}")
endif()

execute_process(COMMAND dpkg-deb -f ${packages} Package Depends Recommends Section OUTPUT_VARIABLE fields)
# The libraries the program links, found by dpkg-shlibdeps, and libcurl, which it loads.
foreach(needed libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libqt6printsupport6 libsqlite3-0 libcurl4)
  if(NOT fields MATCHES "Depends:[^\n]*[ ,]${needed} ")
    message(FATAL_ERROR "the package does not depend on ${needed}:\n${fields}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb -c ${packages} OUTPUT_VARIABLE contents)
foreach(file usr/bin/tessivo usr/share/tessivo/blank.mdb usr/share/tessivo/Library.mdb
             usr/share/tessivo/TipOfTheDay.txt usr/share/tessivo/bhelp.hlp
             usr/share/applications/tessivo.desktop usr/share/mime/packages/tessivo.xml
             usr/share/icons/hicolor/48x48/apps/tessivo.png usr/share/icons/hicolor/256x256/apps/tessivo.png)
  if(NOT contents MATCHES "root/root[^\n]* \\./${file}\n")
    message(FATAL_ERROR "the package lacks ${file} (or it is not root's):\n${contents}")
  endif()
endforeach()
# Nothing of the build or the tests goes into it.
if(contents MATCHES "test_|bench|/tools/|\\.a\n")
  message(FATAL_ERROR "the package holds more than the program:\n${contents}")
endif()

file(SIZE ${packages} size)
message(STATUS "${packages}: ${size} bytes\n${fields}")
file(REMOVE_RECURSE "${OUT}")
