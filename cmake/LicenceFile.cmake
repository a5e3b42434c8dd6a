# SPDX-License-Identifier: GPL-3.0-or-later
# vortani_licence_file(<head template> <output> <newline style>): the game's licence file for a
# shipped folder: the template's text (configured with @VAR@), then the GNU GPL and LGPL texts
# the game and Qt are under, from Debian's base-files.
function(vortani_licence_file template output newlines)
    get_filename_component(name ${output} NAME_WE)
    configure_file(${template} ${CMAKE_CURRENT_BINARY_DIR}/${name}-head.txt @ONLY)
    file(READ ${CMAKE_CURRENT_BINARY_DIR}/${name}-head.txt licence)
    foreach(text GPL-3 LGPL-3)
        set(path /usr/share/common-licenses/${text})
        if(NOT EXISTS ${path})
            message(FATAL_ERROR "${path} is missing (Debian package base-files)")
        endif()
        file(READ ${path} body)
        string(APPEND licence "\n\n==== ${text} ====\n\n${body}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    endforeach()
    file(CONFIGURE OUTPUT ${output} CONTENT "${licence}" @ONLY NEWLINE_STYLE ${newlines})
endfunction()
