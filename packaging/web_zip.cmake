# Zips the browser build's site (cmake -DSITE=... -DZIP=... -P web_zip.cmake): whatever files the
# site folder holds, at the zip's root, as static hosts take an upload. Members go in name order
# with the modes a web server's files have (the site's copies keep their sources' modes, which
# follow the umask of whoever checked the tree out), and the archive takes its times from
# SOURCE_DATE_EPOCH, so that one commit makes one zip.
set(staging ${ZIP}.files)
file(REMOVE_RECURSE ${staging})
file(COPY ${SITE}/ DESTINATION ${staging} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ
     WORLD_READ DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${staging} ${staging}/*)
list(SORT files)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip -- ${files}
                WORKING_DIRECTORY ${staging} RESULT_VARIABLE failed)
file(REMOVE_RECURSE ${staging})
if(failed)
  message(FATAL_ERROR "could not zip ${SITE} into ${ZIP}")
endif()
