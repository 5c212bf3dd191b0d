# Run by cpack once it has written an archive (CPACK_POST_BUILD_SCRIPTS). CMake 3.25's TGZ and ZIP
# generators take the staged files in the order the file system lists them, which differs from one
# machine to another; each archive is written again from the same staged files in the order of their
# names (files only: unpacking makes the folders). The dates are SOURCE_DATE_EPOCH's, which cpack
# has set (TrivoCPackOptions.cmake), as is the gzip header's, which it leaves empty.
foreach(package ${CPACK_PACKAGE_FILES})
  if(package MATCHES "\\.tar\\.gz$")
    set(mode czf)
    set(format gnutar)
  elseif(package MATCHES "\\.zip$")
    set(mode cf)
    set(format zip)
  else()
    continue()  # the DEB generator orders its files itself
  endif()
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${CPACK_TOPLEVEL_DIRECTORY}
    ${CPACK_TEMPORARY_DIRECTORY}/*)
  list(JOIN files "\n" names)
  file(WRITE ${package}.names "${names}\n")
  file(REMOVE ${package})
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar ${mode} ${package} --format=${format} --files-from=${package}.names
    WORKING_DIRECTORY ${CPACK_TOPLEVEL_DIRECTORY} RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT EXISTS ${package})
    message(FATAL_ERROR "${package} could not be written again in the order of its names")
  endif()
endforeach()
