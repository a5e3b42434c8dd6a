# SPDX-License-Identifier: GPL-3.0-or-later
# What more than one folder of the build needs to know, set once, before any folder is added.
# The C++ code reads the values it shares with the build from the headers made at the end
# (ProjectFacts.h, and GameTexts.h and FormGeometry.h from GameFacts.json, through target
# vortani_facts), so each is written down once.

set(VORTANI_ASSETS ${PROJECT_SOURCE_DIR}/assets)
set(VORTANI_PUBLISHER "Vortani Puzzle developers")
set(VORTANI_CONTACT "${VORTANI_PUBLISHER} <vortani@example.org>")
set(VORTANI_LEGAL "Copyright (C) ${VORTANI_PUBLISHER}. GPL-3.0-or-later")

# The version as the program has always written it: major, a point, the minor in two digits.
string(LENGTH "${PROJECT_VERSION_MINOR}" digits)
set(VORTANI_VERSION_TEXT ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
if(digits EQUAL 1)
    set(VORTANI_VERSION_TEXT ${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR})
endif()

# The puzzle pictures assets/puzzles/pic1.jpg .. pic<count>.jpg, all copied beside the program.
set(VORTANI_PICTURE_COUNT 30)

# The program's clips by name, numbered from the first identifier on without a gap; each is
# assets/sounds/clip<identifier>.wav. Fanfare: the last tile of a puzzle solved. Blip: a level
# chosen, a keypad key pressed. Oops: a wrong answer. Chime: a right answer. Click: an operation,
# the sound back on, a tile, leaving.
set(VORTANI_CLIP_NAMES Fanfare Blip Oops Chime Click)
set(VORTANI_FIRST_CLIP 101)
set(VORTANI_CLIPS "")       # the identifiers, in the order of the names
set(VORTANI_CLIP_FILES "")  # their sound files, in the same order
set(clip_constants "")
set(id ${VORTANI_FIRST_CLIP})
foreach(clip IN LISTS VORTANI_CLIP_NAMES)
    list(APPEND VORTANI_CLIPS ${id})
    list(APPEND VORTANI_CLIP_FILES ${VORTANI_ASSETS}/sounds/clip${id}.wav)
    string(APPEND clip_constants "inline constexpr qint16 ${clip} = ${id};\n")
    math(EXPR id "${id} + 1")
endforeach()
math(EXPR VORTANI_LAST_CLIP "${id} - 1")

# The Windows edition as shipped: the folder the zip holds and the MSI installs, and where the
# packages and their staging folder are made (packaging/windows, checked by tests/windows).
set(VORTANI_WINDOWS_FOLDER_NAME "Vortani Puzzle")
set(VORTANI_WINDOWS_STAGE_ROOT ${PROJECT_BINARY_DIR}/packaging/windows/stage)
set(VORTANI_WINDOWS_STAGE "${VORTANI_WINDOWS_STAGE_ROOT}/${VORTANI_WINDOWS_FOLDER_NAME}")
# The MSI's source, with the version left to wixl -D Version=...
set(VORTANI_WINDOWS_WXS ${PROJECT_BINARY_DIR}/packaging/windows/vortani.wxs)
set(VORTANI_WINDOWS_ZIP ${PROJECT_BINARY_DIR}/Vortani-${PROJECT_VERSION}-win64.zip)
set(VORTANI_WINDOWS_MSI ${PROJECT_BINARY_DIR}/Vortani-${PROJECT_VERSION}-win64.msi)

# ---- The game's texts and the forms' geometry (cmake/GameFacts.json), for every language ------
include(${CMAKE_CURRENT_LIST_DIR}/GameFacts.cmake)
vortani_game_facts(${CMAKE_CURRENT_LIST_DIR}/GameFacts.json ${PROJECT_BINARY_DIR})

# ---- The values the C++ code shares, as a header in the build folder -------------------------
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProjectFacts.h.in
               ${PROJECT_BINARY_DIR}/facts/ProjectFacts.h @ONLY)
add_library(vortani_facts INTERFACE)
target_include_directories(vortani_facts INTERFACE ${PROJECT_BINARY_DIR}/facts)
