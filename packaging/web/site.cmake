# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the site folder from FILES, with a service worker whose version is a digest of them all,
# and its zip. cmake -D SITE=<folder> -D ZIP=<file> -D FILES=<list> -D WORKER=<sw.js.in> -P ...
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})
set(digests "")
set(names "")
foreach(file IN LISTS FILES)
    get_filename_component(name ${file} NAME)
    file(COPY_FILE ${file} ${SITE}/${name} ONLY_IF_DIFFERENT)
    file(SHA256 ${file} digest)
    string(APPEND digests "${name} ${digest}\n")
    list(APPEND names ${name})
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 VORTANI_SITE_VERSION)
# The worker stores the page under its file name and every other file the page asks for.
list(SORT names)
list(TRANSFORM names PREPEND "\n  \"")
list(TRANSFORM names APPEND "\"")
string(JOIN "," VORTANI_SITE_FILES ${names})
string(APPEND VORTANI_SITE_FILES "\n")
configure_file(${WORKER} ${SITE}/sw.js @ONLY)

get_filename_component(site_parent ${SITE} DIRECTORY)
get_filename_component(site_name ${SITE} NAME)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${site_name}
                WORKING_DIRECTORY ${site_parent} COMMAND_ERROR_IS_FATAL ANY)
