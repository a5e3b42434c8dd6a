# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE=<tree> -DBINARY=<build> -DOUT=<.tar.gz> -DPREFIX=<folder> -P source-archive.cmake
# The game's source as published beside the Windows packages and the web page: the commit
# checked out when the tree is a git checkout (what others can fetch too), else the tree without
# build folders.
find_program(git git)
set(checkout FALSE)
if(git AND EXISTS ${SOURCE}/.git)
    execute_process(COMMAND ${git} -C ${SOURCE} rev-parse --verify HEAD
                    RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(NOT failed)
        set(checkout TRUE)
    endif()
endif()
if(checkout)
    execute_process(COMMAND ${git} -C ${SOURCE} archive --format=tar.gz --prefix=${PREFIX}/
                            -o ${OUT}.part HEAD RESULT_VARIABLE failed)
    execute_process(COMMAND ${git} -C ${SOURCE} status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE changed)
    if(changed)
        message(WARNING "${OUT} holds the last commit, not the uncommitted changes:\n${changed}")
    endif()
else()
    # A copy under PREFIX, so that the archive unpacks into one folder.
    set(copy ${BINARY}/source-archive/${PREFIX})
    file(REMOVE_RECURSE ${BINARY}/source-archive)
    file(GLOB entries RELATIVE ${SOURCE} ${SOURCE}/*)
    foreach(entry IN LISTS entries)
        get_filename_component(real ${SOURCE}/${entry} REALPATH)
        get_filename_component(binary ${BINARY} REALPATH)
        if(NOT entry MATCHES "^(build.*|\\.git)$" AND NOT real STREQUAL binary)
            file(COPY ${SOURCE}/${entry} DESTINATION ${copy})
        endif()
    endforeach()
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar czf ${OUT}.part ${PREFIX}
                    WORKING_DIRECTORY ${BINARY}/source-archive RESULT_VARIABLE failed)
    file(REMOVE_RECURSE ${BINARY}/source-archive)
endif()
if(failed)
    message(FATAL_ERROR "Could not pack the source in ${OUT}")
endif()
file(RENAME ${OUT}.part ${OUT})
