# Zips the browser build's site (cmake -DSITE=... -DZIP=... -P web_zip.cmake): whatever files the
# site folder holds, at the zip's root, as static hosts take an upload. Members go in name order,
# and the archive takes its times from SOURCE_DATE_EPOCH, so that one commit makes one zip.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${SITE} ${SITE}/*)
list(SORT files)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip -- ${files}
                WORKING_DIRECTORY ${SITE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not zip ${SITE} into ${ZIP}")
endif()
