# SPDX-License-Identifier: GPL-3.0-or-later
# Where the Windows packages are made, for packaging/windows and for the tests that check them
# (tests/ is configured first, so the two cannot hand each other variables).
set(VORTANI_WINDOWS_FOLDER_NAME "Vortani Puzzle")
set(VORTANI_WINDOWS_STAGE_ROOT ${CMAKE_BINARY_DIR}/packaging/windows/stage)
set(VORTANI_WINDOWS_STAGE "${VORTANI_WINDOWS_STAGE_ROOT}/${VORTANI_WINDOWS_FOLDER_NAME}")
# The MSI's source, with the version left to wixl -D Version=...
set(VORTANI_WINDOWS_WXS ${CMAKE_BINARY_DIR}/packaging/windows/vortani.wxs)
set(VORTANI_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/Vortani-${PROJECT_VERSION}-win64.zip)
set(VORTANI_WINDOWS_MSI ${CMAKE_BINARY_DIR}/Vortani-${PROJECT_VERSION}-win64.msi)
