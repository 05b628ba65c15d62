# Run by CPack after it has staged the package's files: writes SHA256SUMS.txt beside
# them, one "checksum *name" line per file (the format sha256sum -c reads), CR LF ended.
file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE ${CPACK_TEMPORARY_INSTALL_DIRECTORY}
     ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*)
list(SORT staged)
set(sums "")
foreach(file ${staged})
  if(file MATCHES "SHA256SUMS.txt$")
    continue()
  endif()
  file(SHA256 ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${file} sum)
  string(APPEND sums "${sum} *${file}\r\n")
endforeach()
file(WRITE ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/SHA256SUMS.txt "${sums}")
