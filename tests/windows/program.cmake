# SPDX-License-Identifier: GPL-3.0-or-later
# The real Vortani.exe under Wine, on the tests' display, sound server and printer, played
# through.
add_executable(wininfo ${CMAKE_CURRENT_LIST_DIR}/wininfo.cpp)
add_test(NAME windows_program
         COMMAND ${vortani_python} ${CMAKE_CURRENT_LIST_DIR}/play.py $<TARGET_FILE:vortani>
                 $<TARGET_FILE:wininfo> ${CMAKE_BINARY_DIR}/screens)
set_tests_properties(windows_program PROPERTIES FIXTURES_REQUIRED "wine;sound_server;print_server"
    RESOURCE_LOCK wine_display ENVIRONMENT "${VORTANI_WINE_ENVIRONMENT}" TIMEOUT 300
    LABELS windows)
