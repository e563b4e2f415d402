# Run by CPack after it installed the files into its staging folder: Debian
# wants the manual pages compressed with gzip -9n.
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/man*/*.[1-9]")
if(NOT pages)
  file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/share/man/man*/*.[1-9]")
endif()
foreach(page IN LISTS pages)
  execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip -9n ${page} failed")
  endif()
  message(STATUS "Compressed ${page}")
endforeach()
