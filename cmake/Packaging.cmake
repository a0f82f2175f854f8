# The Debian package: `cpack -G DEB` in the build folder (README.md, "Installing").
#
# Its dependencies are found by dpkg-shlibdeps (dpkg-dev) from the libraries the program links,
# and libcurl, which it loads;
# the desktop's caches (menu entries, file types, icons) are brought up to date by the triggers of
# desktop-file-utils, shared-mime-info and the icon theme, so the package needs no scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessivo)
set(CPACK_PACKAGE_VENDOR "Tessivo")
set(CPACK_PACKAGE_CONTACT "Tessivo support <support@tessivo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop survey system: design questionnaires, gather and analyse answers")
set(CPACK_PACKAGE_DESCRIPTION
  "One user designs a questionnaire (open-ended, check, radio with jumps, matrix
and instruction text), types in the answers of respondents or prints a paper
form, publishes the survey to a web survey service and imports the answers
collected there, and analyses the results: summary, chart, detailed report and
CSV export. Each survey is a single file (.tvq).")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcurl is loaded on the first web transfer, not linked, so dpkg-shlibdeps cannot see it (its
# text options need 7.85).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.85.0)")
# Wayland sessions use Qt's Wayland platform when it is there (X11 otherwise); links and mail
# addresses open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
