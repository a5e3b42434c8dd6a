# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows program of this project needs beside it to start: the Qt libraries it links,
# the platform and picture plugins, and the MinGW runtime. Target windows_runtime copies them
# into the folder of the programs, so that the game and the test programs start from the build
# folder as they do from an installed one.
set(VORTANI_QT_DLLS Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
set(VORTANI_QT_PLUGINS Qt6::QWindowsIntegrationPlugin Qt6::QJpegPlugin)
# QtTest and the offscreen platform only for the tests.
set(VORTANI_QT_TEST_DLLS "")
set(VORTANI_QT_TEST_PLUGINS "")
if(BUILD_TESTING)
    set(VORTANI_QT_TEST_DLLS Qt6::Test)
    set(VORTANI_QT_TEST_PLUGINS Qt6::QOffscreenIntegrationPlugin)
endif()
set(VORTANI_MINGW_DLLS "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    list(APPEND VORTANI_MINGW_DLLS ${path})
endforeach()

set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set(commands "")
foreach(target IN LISTS VORTANI_QT_DLLS VORTANI_QT_TEST_DLLS)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different
                                 $<TARGET_FILE:${target}> ${out})
endforeach()
foreach(dll IN LISTS VORTANI_MINGW_DLLS)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dll} ${out})
endforeach()
# Plugins go in a folder named after their kind (platforms, imageformats), where Qt looks.
foreach(plugin IN LISTS VORTANI_QT_PLUGINS VORTANI_QT_TEST_PLUGINS)
    get_target_property(kind ${plugin} QT_PLUGIN_TYPE)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${out}/${kind}
                         COMMAND ${CMAKE_COMMAND} -E copy_if_different
                                 $<TARGET_FILE:${plugin}> ${out}/${kind})
endforeach()
add_custom_target(windows_runtime ALL ${commands} VERBATIM)

# The look-alikes of the forms' fonts beside the program, with their licences.
foreach(file IN LISTS VORTANI_STAND_IN_FONTS VORTANI_STAND_IN_FONT_LICENCES)
    list(APPEND font_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${out})
endforeach()
add_custom_target(stand_in_fonts ALL ${font_commands} VERBATIM)
