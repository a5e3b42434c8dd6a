# SPDX-License-Identifier: GPL-3.0-or-later
# Free look-alikes of the forms' fonts, shipped where the system may lack "Comic Sans MS" or Arial
# (Windows, the browser; src/services/StandInFonts.cpp loads ComicNeue-* and LiberationSans-*
# from the program's folder), with their licences (SIL OFL 1.1) in VORTANI_STAND_IN_FONT_LICENCES.
set(VORTANI_STAND_IN_FONTS
    /usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf
    /usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf
    /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
    /usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf
    /usr/share/fonts/truetype/liberation2/LiberationSans-Italic.ttf
    /usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf)
set(VORTANI_STAND_IN_FONT_LICENCES "")
foreach(package comic-neue liberation2)
    set(copyright /usr/share/doc/fonts-${package}/copyright)
    if(NOT EXISTS ${copyright})
        message(FATAL_ERROR "${copyright} is missing (Debian package fonts-${package})")
    endif()
    configure_file(${copyright} ${CMAKE_BINARY_DIR}/fonts/fonts-${package}-LICENSE.txt COPYONLY)
    list(APPEND VORTANI_STAND_IN_FONT_LICENCES
         ${CMAKE_BINARY_DIR}/fonts/fonts-${package}-LICENSE.txt)
endforeach()
foreach(file IN LISTS VORTANI_STAND_IN_FONTS)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "${file} is missing (Debian packages fonts-comic-neue, fonts-liberation2)")
    endif()
endforeach()
