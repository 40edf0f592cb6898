# Runs in cpack on the staged files: manual pages and the change log go into the
# package compressed, without name or time stamp, as Debian has them.
file(GLOB_RECURSE documents
     "${CPACK_TEMPORARY_DIRECTORY}/*/share/man/*"
     "${CPACK_TEMPORARY_DIRECTORY}/*/share/doc/print-station/changelog")
foreach(document IN LISTS documents)
  if(NOT document MATCHES "\\.gz$")
    execute_process(COMMAND gzip -9 -n -f "${document}" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "gzip ${document} failed")
    endif()
  endif()
endforeach()
