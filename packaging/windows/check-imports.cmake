# SPDX-License-Identifier: GPL-3.0-or-later
# Fails unless a folder of Windows programs holds exactly the DLLs they load: every DLL that a
# shipped program, library or plugin imports is either in the folder or part of Windows, no
# DLL of Windows is shipped, and every DLL shipped is loaded by something.
#   cmake -DOBJDUMP=<objdump for the target> -DFOLDER=<folder> -P check-imports.cmake
# DLLs in subfolders are Qt plugins, which Qt loads by looking, not by import: they count as
# loaded, and their imports are followed like the program's.
cmake_minimum_required(VERSION 3.25)
if(NOT OBJDUMP OR NOT IS_DIRECTORY "${FOLDER}")
    message(FATAL_ERROR "usage: cmake -DOBJDUMP=<objdump> -DFOLDER=<folder> -P ${CMAKE_SCRIPT_MODE_FILE}")
endif()

# DLLs every 64-bit Windows 10 and 11 has in its system folder, lower case.
set(windows_dlls
    advapi32.dll authz.dll comctl32.dll comdlg32.dll crypt32.dll d3d11.dll d3d9.dll dwmapi.dll
    dwrite.dll dxgi.dll gdi32.dll imm32.dll kernel32.dll mpr.dll msvcrt.dll netapi32.dll
    ntdll.dll ole32.dll oleaut32.dll setupapi.dll shcore.dll shell32.dll shlwapi.dll user32.dll
    userenv.dll uxtheme.dll version.dll winmm.dll winspool.drv ws2_32.dll wtsapi32.dll)

function(imports_of file out)
    execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${OBJDUMP} cannot read ${file}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
    set(names "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^DLL Name: " "" name "${line}")
        string(STRIP "${name}" name)
        string(TOLOWER "${name}" name)
        list(APPEND names ${name})
    endforeach()
    list(REMOVE_DUPLICATES names)
    set(${out} ${names} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE ${FOLDER} ${FOLDER}/*)
set(shipped "") # DLLs beside the program, lower case
set(roots "")   # the programs and the plugins
foreach(file IN LISTS files)
    string(TOLOWER "${file}" lower)
    if(lower MATCHES "\\.exe$" OR (lower MATCHES "/" AND lower MATCHES "\\.dll$"))
        list(APPEND roots ${file})
    elseif(lower MATCHES "\\.dll$")
        list(APPEND shipped ${lower})
        set(path_${lower} ${file})
    endif()
endforeach()

set(faults "")
if(NOT roots MATCHES "\\.exe")
    list(APPEND faults "no program (.exe) in ${FOLDER}")
endif()
foreach(dll IN LISTS shipped)
    if(dll IN_LIST windows_dlls OR dll MATCHES "^api-ms-win-")
        list(APPEND faults "${dll} is part of Windows and must not be shipped")
    endif()
endforeach()

# Everything reachable from the programs and plugins through imports.
set(queue ${roots})
set(loaded "")
while(queue)
    list(POP_FRONT queue file)
    imports_of(${FOLDER}/${file} names)
    foreach(name IN LISTS names)
        if(name IN_LIST shipped)
            if(NOT name IN_LIST loaded)
                list(APPEND loaded ${name})
                list(APPEND queue ${path_${name}})
            endif()
        elseif(NOT name IN_LIST windows_dlls AND NOT name MATCHES "^api-ms-win-")
            list(APPEND faults "${file} imports ${name}, which is neither shipped nor part of Windows")
        endif()
    endforeach()
endwhile()
foreach(dll IN LISTS shipped)
    if(NOT dll IN_LIST loaded)
        list(APPEND faults "${path_${dll}} is shipped, but nothing shipped imports it")
    endif()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "${FOLDER}:\n  ${text}")
endif()
list(LENGTH roots n_roots)
list(LENGTH shipped n_shipped)
message(STATUS "Imports complete: ${n_roots} program and plugin files, ${n_shipped} DLLs beside them")
