# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package built by `make package` (cpack -G DEB in the build folder).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vortani)
set(CPACK_PACKAGE_VENDOR ${VORTANI_PUBLISHER})
set(CPACK_PACKAGE_CONTACT ${VORTANI_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic puzzle game for children")
set(CPACK_PACKAGE_DESCRIPTION "A desktop arithmetic game for children of about 6 to 10, in Italian.
The child picks an operation and a level. Twelve tiles, each with a
problem, hide a picture, and every right answer uncovers a piece of it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries the program links come from dpkg-shlibdeps; these are loaded at run time, which it
# cannot see: the SVG image and icon plugins, and the fonts the forms ask for by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, fonts-comic-neue, fonts-liberation2")
# Runs natively on a Wayland desktop with it, through XWayland without; reads aloud (--voce=sì)
# through speech-dispatcher, whose espeak-ng module has an Italian voice.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-wayland, qt6-speech-speechd-plugin, speech-dispatcher, speech-dispatcher-espeak-ng")
include(CPack)
