# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows test programs run under Wine: ctest starts each through the emulator, in a private
# prefix on a private display (fixture "wine"). They find Qt and the MinGW runtime beside them
# (target windows_runtime), as the program does in its own folder.
set(VORTANI_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
# The display is Xvfb's own choice, known once the fixture runs: the emulator reads it, with the
# prefix, from the fixture's folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${vortani_e2e} wine-run ${VORTANI_WINE_STATE})

# Wine hands Qt's variables to Windows programs only when they are spelled WINEQT_...
set(VORTANI_WINE_ENVIRONMENT
    "VORTANI_WINE_STATE=${VORTANI_WINE_STATE}" "WINEQT_FORCE_STDERR_LOGGING=1"
    "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/pulse-runtime"
    "PULSE_SERVER=unix:${CMAKE_BINARY_DIR}/pulse-runtime/pulse/native" "${vortani_print_server}")
set(vortani_test_environment ${VORTANI_WINE_ENVIRONMENT} "WINEQT_QPA_PLATFORM=offscreen")

add_test(NAME wine_start COMMAND ${vortani_e2e} wine-start ${VORTANI_WINE_STATE})
add_test(NAME wine_stop COMMAND ${vortani_e2e} wine-stop ${VORTANI_WINE_STATE})
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine SKIP_RETURN_CODE 77 TIMEOUT 180
                                           LABELS windows)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS windows)
