# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows edition as shipped (target windows_packages), checked from Linux. The Wine tests
# have a prefix and a display each, apart from the "wine" fixture's.

# Debian's python3-pefile is for Debian's interpreter, which may not come first on PATH (pyenv).
add_test(NAME pe_resources
         COMMAND ${vortani_python} ${CMAKE_CURRENT_LIST_DIR}/pe_resources.py $<TARGET_FILE:vortani>
                 ${VORTANI_ASSETS}/sounds ${PROJECT_VERSION} ${VORTANI_CLIPS})
set_tests_properties(pe_resources PROPERTIES TIMEOUT 60 LABELS windows SKIP_RETURN_CODE 77)

add_test(NAME zip_contents
         COMMAND ${vortani_python} ${CMAKE_CURRENT_LIST_DIR}/zip_contents.py ${VORTANI_WINDOWS_ZIP}
                 ${VORTANI_PICTURE_COUNT} ${CMAKE_OBJDUMP}
                 ${PROJECT_SOURCE_DIR}/packaging/windows/check-imports.cmake
                 ${CMAKE_BINARY_DIR}/wine-zip)
set_tests_properties(zip_contents PROPERTIES TIMEOUT 180 LABELS windows SKIP_RETURN_CODE 77)

add_test(NAME msi_install
         COMMAND ${vortani_python} ${CMAKE_CURRENT_LIST_DIR}/msi_install.py ${VORTANI_WINDOWS_MSI}
                 ${VORTANI_WINDOWS_WXS} ${VORTANI_WINDOWS_STAGE} "${VORTANI_PUBLISHER}"
                 ${CMAKE_BINARY_DIR}/wine-msi)
set_tests_properties(msi_install PROPERTIES TIMEOUT 300 LABELS windows SKIP_RETURN_CODE 77)

# A class's set-up as the MSI's properties: on the shortcut, or refused with the program's words.
add_test(NAME msi_class_setup
         COMMAND ${vortani_python} ${CMAKE_CURRENT_LIST_DIR}/msi_class_setup.py
                 ${VORTANI_WINDOWS_MSI} ${CMAKE_BINARY_DIR}/wine-msi-setup)
set_tests_properties(msi_class_setup PROPERTIES TIMEOUT 400 LABELS windows SKIP_RETURN_CODE 77)

# The packages signed, in a build folder of their own that later runs reuse.
file(RELATIVE_PATH zip_name ${CMAKE_BINARY_DIR} ${VORTANI_WINDOWS_ZIP})
file(RELATIVE_PATH msi_name ${CMAKE_BINARY_DIR} ${VORTANI_WINDOWS_MSI})
file(RELATIVE_PATH stage_name ${CMAKE_BINARY_DIR} ${VORTANI_WINDOWS_STAGE})
add_test(NAME signed_packages
         COMMAND ${vortani_python} ${CMAKE_CURRENT_LIST_DIR}/signed_packages.py ${PROJECT_SOURCE_DIR}
                 ${CMAKE_BINARY_DIR}/signed-packages/build ${zip_name} ${msi_name} ${stage_name}
                 ${VORTANI_WINDOWS_STAGE}/Vortani.exe "${VORTANI_PUBLISHER}"
                 ${CMAKE_BINARY_DIR}/signed-packages/state)
set_tests_properties(signed_packages PROPERTIES TIMEOUT 900 LABELS windows SKIP_RETURN_CODE 77)
