# The release package, built with `cpack` in a Windows build tree (scripts/package.sh):
# tarnwell_env-<version>-<arch>.zip holding the stripped binaries, a user README and the
# LICENSE (both with CR LF line ends) and SHA256SUMS.txt over all of them.
#
# The binaries it ships: add a target here and it is packaged and checksummed.
set(TARNWELL_PACKAGED_TARGETS tarnwell_env QRX_Intel_Win32 regtool TarnwellRegistry)

install(TARGETS ${TARNWELL_PACKAGED_TARGETS} RUNTIME DESTINATION . COMPONENT release)

set(tarnwell_package_docs ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/package/README.txt ${tarnwell_package_docs}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${tarnwell_package_docs}/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/docs/export_key.vbs ${tarnwell_package_docs}/export_key.vbs
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${tarnwell_package_docs}/README.txt ${tarnwell_package_docs}/LICENSE.txt
        ${tarnwell_package_docs}/export_key.vbs DESTINATION . COMPONENT release)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(tarnwell_package_arch win64)
else()
  set(tarnwell_package_arch win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-${tarnwell_package_arch})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_COMPONENTS_ALL release)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_STRIP_FILES ON)
# Checksums of the staged files, written into the package itself.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_checksums.cmake)
include(CPack)
