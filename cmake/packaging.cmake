# What the release package holds: the stripped binaries, a user README, the LICENSE, the
# example script, the report-collecting script and the JSON report's schema (the text
# files with CR LF line ends). scripts/package.sh installs the component "release" and
# makes the zip, with SHA256SUMS.txt over all of it. The 32-bit release also holds, in
# its x64 folder, the 64-bit build's component "release_x64": regtool and the registry
# component for 64-bit hosts.
#
# The binaries it ships: add a target here and it is built, packaged and checksummed.
set(TARNWELL_PACKAGED_TARGETS tarnwell_env QRX_Intel_Win32 regtool TarnwellRegistry)
set(TARNWELL_PACKAGED_X64_TARGETS regtool TarnwellRegistry)

# Build what the package holds and nothing else (no tests, tools or benchmarks).
add_custom_target(release_binaries)
add_dependencies(release_binaries ${TARNWELL_PACKAGED_TARGETS})
add_custom_target(release_x64_binaries)
add_dependencies(release_x64_binaries ${TARNWELL_PACKAGED_X64_TARGETS})

install(TARGETS ${TARNWELL_PACKAGED_TARGETS} RUNTIME DESTINATION . COMPONENT release)
install(TARGETS ${TARNWELL_PACKAGED_X64_TARGETS} RUNTIME DESTINATION . COMPONENT release_x64)

set(tarnwell_package_docs ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/package/README.txt ${tarnwell_package_docs}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${tarnwell_package_docs}/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/docs/export_key.vbs ${tarnwell_package_docs}/export_key.vbs
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/package/collect_report.cmd
               ${tarnwell_package_docs}/collect_report.cmd @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/docs/report.schema.json
               ${tarnwell_package_docs}/report.schema.json @ONLY NEWLINE_STYLE CRLF)
install(FILES ${tarnwell_package_docs}/README.txt ${tarnwell_package_docs}/LICENSE.txt
        ${tarnwell_package_docs}/export_key.vbs ${tarnwell_package_docs}/collect_report.cmd
        ${tarnwell_package_docs}/report.schema.json DESTINATION . COMPONENT release)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(tarnwell_package_arch win64)
else()
  set(tarnwell_package_arch win32)
endif()
# The package's name, read by scripts/package.sh.
file(WRITE ${CMAKE_BINARY_DIR}/package_name.txt
     "${PROJECT_NAME}-${PROJECT_VERSION}-${tarnwell_package_arch}\n")
include(msi)
