# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows test programs run under Wine: ctest starts each through the emulator, in a private
# prefix on a private display (fixture "wine"). They find Qt and the MinGW runtime beside them
# (target windows_runtime), as the program does in its own folder.
find_program(VORTANI_WINE wine)
if(NOT VORTANI_WINE)
    set(VORTANI_WINE wine) # the tests fail and say so
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${VORTANI_WINE})

set(VORTANI_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(VORTANI_WINE_DISPLAY 84)

# Wine hands Qt's variables to Windows programs only when they are spelled WINEQT_...
set(VORTANI_WINE_ENVIRONMENT
    "WINEPREFIX=${VORTANI_WINE_STATE}/prefix" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml="
    "DISPLAY=:${VORTANI_WINE_DISPLAY}" "WINEQT_FORCE_STDERR_LOGGING=1"
    "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/pulse-runtime"
    "PULSE_SERVER=unix:${CMAKE_BINARY_DIR}/pulse-runtime/pulse/native")
set(vortani_test_environment ${VORTANI_WINE_ENVIRONMENT} "WINEQT_QPA_PLATFORM=offscreen")

add_test(NAME wine_start COMMAND ${CMAKE_CURRENT_LIST_DIR}/wine-start.sh ${VORTANI_WINE_STATE}
                                 ${VORTANI_WINE_DISPLAY})
add_test(NAME wine_stop COMMAND ${CMAKE_CURRENT_LIST_DIR}/wine-stop.sh ${VORTANI_WINE_STATE}
                                ${VORTANI_WINE_DISPLAY})
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine SKIP_RETURN_CODE 77 TIMEOUT 180
                                           LABELS windows)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS windows)
