# SPDX-License-Identifier: GPL-3.0-or-later
# Vortani.exe as Windows knows it: its name, its icon in every size Explorer and the taskbar ask
# for (sharp up to 200 %), and its version resource.
set_target_properties(vortani PROPERTIES OUTPUT_NAME Vortani)

find_program(VORTANI_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(VORTANI_ICOTOOL icotool REQUIRED)
set(icon_svg ${VORTANI_ASSETS}/icons/vortani.svg)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icon)
set(VORTANI_ICO ${icon_dir}/vortani.ico)
set(icon_pngs "")
# Small sizes as bitmaps; 256 stored as PNG, as Windows expects for the largest.
foreach(size 16 20 24 32 40 48 64 256)
    set(png ${icon_dir}/vortani-${size}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
        COMMAND ${VORTANI_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
        DEPENDS ${icon_svg} VERBATIM)
    list(APPEND icon_pngs ${png})
endforeach()
list(FILTER icon_pngs EXCLUDE REGEX "-256\\.png$")
add_custom_command(OUTPUT ${VORTANI_ICO}
    COMMAND ${VORTANI_ICOTOOL} -c -o ${VORTANI_ICO} ${icon_pngs} --raw=${icon_dir}/vortani-256.png
    DEPENDS ${icon_pngs} ${icon_dir}/vortani-256.png VERBATIM)
# The MSI shows the same icon (packaging/windows).
set_property(TARGET vortani PROPERTY VORTANI_ICON_FILE ${VORTANI_ICO})

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/Vortani.rc.in ${CMAKE_CURRENT_BINARY_DIR}/Vortani.rc
               @ONLY)
target_sources(vortani PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/Vortani.rc)
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/Vortani.rc APPEND PROPERTY OBJECT_DEPENDS
             ${VORTANI_ICO})
