# Run by CPack once the package's files are staged. CMake's file(INSTALL)
# creates missing directories under the umask, whatever
# CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS says, so under umask 077 the
# package would ship 0700 directories; Debian wants 0755.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path IN LISTS staged)
  if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
    file(CHMOD "${path}" DIRECTORY_PERMISSIONS ${CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
  endif()
endforeach()
