# Run by `cmake --install`: updates the desktop's caches of the install prefix, so that the menu
# shows the program, survey files open with it and its icon is found. Skipped when installing into
# a staging folder (DESTDIR), and for each tool that is not there.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
if(IS_ABSOLUTE "${TESSIVO_INSTALL_DATADIR}")
  set(_share "${TESSIVO_INSTALL_DATADIR}")
else()
  set(_share "${CMAKE_INSTALL_PREFIX}/${TESSIVO_INSTALL_DATADIR}")
endif()
find_program(_update_mime update-mime-database)
find_program(_update_desktop update-desktop-database)
find_program(_update_icons gtk-update-icon-cache)
if(_update_mime)
  message(STATUS "Updating the file types of ${_share}/mime")
  execute_process(COMMAND ${_update_mime} "${_share}/mime")
endif()
if(_update_desktop)
  message(STATUS "Updating the desktop entries of ${_share}/applications")
  execute_process(COMMAND ${_update_desktop} -q "${_share}/applications")
endif()
# An icon cache that is there must know the new icon; where there is none, the icons are read
# from their folders.
if(_update_icons AND EXISTS "${_share}/icons/hicolor/icon-theme.cache")
  message(STATUS "Updating the icon cache of ${_share}/icons/hicolor")
  execute_process(COMMAND ${_update_icons} -q -f "${_share}/icons/hicolor")
endif()
