# SPDX-License-Identifier: GPL-3.0-or-later
# The real Vortani.exe under Wine, on the tests' display, sound server and printer, played
# through.
add_executable(wininfo ${CMAKE_CURRENT_LIST_DIR}/wininfo.cpp)
# What a screen reader would be told, logged: copied into the prefix's system folder by the test.
add_library(uiautomationcore SHARED ${CMAKE_CURRENT_LIST_DIR}/uiautomationcore.cpp)
# Apart from the program's folder, which the packages take their DLLs from.
set_target_properties(uiautomationcore PROPERTIES PREFIX "" OUTPUT_NAME uiautomationcore
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/stand-in)
target_link_options(uiautomationcore PRIVATE -static)
# What the voice is asked to say, logged: copied into the prefix's system folder by the test too.
add_library(sapi SHARED ${CMAKE_CURRENT_LIST_DIR}/sapi.cpp)
set_target_properties(sapi PROPERTIES PREFIX "" OUTPUT_NAME sapi
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/stand-in)
target_link_options(sapi PRIVATE -static)
target_link_libraries(sapi PRIVATE ole32 uuid)
add_test(NAME windows_program
         COMMAND ${vortani_python} ${CMAKE_CURRENT_LIST_DIR}/play.py $<TARGET_FILE:vortani>
                 $<TARGET_FILE:wininfo> ${CMAKE_BINARY_DIR}/screens
                 $<TARGET_FILE:uiautomationcore> $<TARGET_FILE:sapi>)
set_tests_properties(windows_program PROPERTIES FIXTURES_REQUIRED "wine;sound_server;print_server"
    RESOURCE_LOCK wine_display ENVIRONMENT "${VORTANI_WINE_ENVIRONMENT}" TIMEOUT 600
    LABELS windows)
