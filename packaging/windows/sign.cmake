# SPDX-License-Identifier: GPL-3.0-or-later
# Authenticode signatures with the certificate named at build time, or none:
#   VORTANI_SIGN_PKCS12         the certificate and its key, a PKCS#12 file
#   VORTANI_SIGN_PASSWORD       its password (may be empty, must be set)
#   VORTANI_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamping server, optional
# They are read here, when the packages are made, so that neither reaches the CMake cache.
#   cmake -DSTATE=<file> -P sign.cmake
#       writes what decides the signatures to <file>, touching it only when that changes, so
#       that a new certificate or server makes the packages again
#   cmake -DDIR=<private folder> -DNAME=<description> [-DURL=<url>] [-DSAY=ON] -P sign.cmake
#         -- <file>...
#       signs each file in place; without a certificate leaves them as they are (SAY: and says
#       so)
cmake_minimum_required(VERSION 3.25)
set(pkcs12 "$ENV{VORTANI_SIGN_PKCS12}")
set(timestamp "$ENV{VORTANI_SIGN_TIMESTAMP_URL}")
if(pkcs12)
    get_filename_component(pkcs12 "${pkcs12}" ABSOLUTE)
    if(NOT EXISTS "${pkcs12}" OR IS_DIRECTORY "${pkcs12}")
        message(FATAL_ERROR "VORTANI_SIGN_PKCS12 names ${pkcs12}, which is not a file (give "
                            "its full path)")
    endif()
    if(NOT DEFINED ENV{VORTANI_SIGN_PASSWORD})
        message(FATAL_ERROR "VORTANI_SIGN_PKCS12 is set but VORTANI_SIGN_PASSWORD is not")
    endif()
endif()

if(DEFINED STATE)
    set(state "unsigned\n")
    if(pkcs12)
        # A certificate renewed under the same name is another file: its time tells them apart.
        file(TIMESTAMP "${pkcs12}" changed "%Y-%m-%dT%H:%M:%S" UTC)
        file(SIZE "${pkcs12}" size)
        set(state "certificate ${pkcs12} ${changed} ${size}\ntimestamp ${timestamp}\n")
    endif()
    file(WRITE "${STATE}.new" "${state}")
    file(COPY_FILE "${STATE}.new" "${STATE}" ONLY_IF_DIFFERENT)
    file(REMOVE "${STATE}.new")
    return()
endif()

# The files: what follows "--" on the command line.
set(files "")
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
    if(DEFINED dashes)
        list(APPEND files "${CMAKE_ARGV${i}}")
    elseif("${CMAKE_ARGV${i}}" STREQUAL "--")
        set(dashes ${i})
    endif()
endforeach()
if(NOT files OR NOT DIR OR NOT NAME)
    message(FATAL_ERROR "usage: cmake -DDIR=<folder> -DNAME=<description> [-DURL=<url>] "
                        "[-DSAY=ON] -P ${CMAKE_SCRIPT_MODE_FILE} -- <file>...")
endif()

if(NOT pkcs12)
    if(SAY)
        message(STATUS "Not signed: VORTANI_SIGN_PKCS12 is not set")
    endif()
    return()
endif()
find_program(osslsigncode osslsigncode)
if(NOT osslsigncode)
    message(FATAL_ERROR "osslsigncode is not installed (scripts/install-deps.sh windows)")
endif()

# The password goes to osslsigncode in a file only we can read, never on a command line.
file(MAKE_DIRECTORY "${DIR}")
file(CHMOD "${DIR}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(password_file "${DIR}/password")
file(REMOVE "${password_file}")
file(TOUCH "${password_file}")
file(CHMOD "${password_file}" PERMISSIONS OWNER_READ OWNER_WRITE)
file(WRITE "${password_file}" "$ENV{VORTANI_SIGN_PASSWORD}")

set(options -pkcs12 "${pkcs12}" -readpass "${password_file}" -h sha256 -n "${NAME}")
if(URL)
    list(APPEND options -i "${URL}")
endif()
if(timestamp)
    list(APPEND options -ts "${timestamp}")
endif()
set(failure "")
foreach(file IN LISTS files)
    file(REMOVE "${file}.signed")
    execute_process(COMMAND "${osslsigncode}" sign ${options} -in "${file}" -out "${file}.signed"
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        # Left unsigned, the file would look finished to the next build.
        file(REMOVE "${file}" "${file}.signed")
        set(failure "osslsigncode could not sign ${file} (status ${status}):\n${out}")
        break()
    endif()
    file(RENAME "${file}.signed" "${file}")
endforeach()
file(REMOVE "${password_file}")
if(failure)
    message(FATAL_ERROR "${failure}")
endif()
list(LENGTH files count)
message(STATUS "Signed ${count} file(s) with ${pkcs12}")
