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

# In the zip the folder is named for the address it will most likely be served at.
get_filename_component(zip_dir ${ZIP} DIRECTORY)
set(stage ${zip_dir}/zip-stage)
file(REMOVE_RECURSE ${stage})
file(COPY ${SITE}/ DESTINATION ${stage}/vortani)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip vortani
                WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})
