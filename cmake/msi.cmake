# The Windows Installer package's source: package/tarnwell_env.wxs.in configured into
# <build>/package/tarnwell_env.wxs, which scripts/package.sh hands to wixl with the
# defines package/msi.defines lists. The component's identifiers come from its IDL, so
# the package registers exactly what regsvr32 would; the package's other GUIDs are
# derived from the UpgradeCode, the one GUID kept here.
#
# The UpgradeCode is the product's for good: every version's package carries it, so that
# a newer version replaces an older one. Never change it.
set(TARNWELL_MSI_UPGRADE_CODE "{25D178AB-4C96-408A-A253-83F1D9D05ACE}")

file(READ ${PROJECT_SOURCE_DIR}/src/com/tarnwell_registry.idl tarnwell_idl)
# idl_match(REGEX VARIABLE...): the groups of REGEX's first match in the IDL, in order.
function(idl_match regex)
  if(NOT tarnwell_idl MATCHES "${regex}")
    message(FATAL_ERROR "tarnwell_registry.idl: no match for ${regex}")
  endif()
  set(group 0)
  foreach(variable ${ARGN})
    math(EXPR group "${group} + 1")
    set(${variable} "${CMAKE_MATCH_${group}}" PARENT_SCOPE)
  endforeach()
endfunction()
set(uuid "uuid\\(([0-9A-Fa-f-]+)\\)")
idl_match("${uuid},[ \n]*version\\(([0-9.]+)\\),[ \n]*helpstring\\(\"([^\"]*)\"\\)[ \n]*\\][ \n]*library "
          libid version library_help)
idl_match("${uuid},[^]]*dual[^]]*\\][ \n]*interface ([A-Za-z_]+)" iid interface_name)
idl_match("${uuid},[^]]*\\][ \n]*coclass " clsid)
idl_match("TARNWELL_REGISTRY_PROGID \\\\\"([^\\\\]+)\\\\\"" progid)
foreach(guid libid iid clsid)
  string(TOUPPER "{${${guid}}}" ${guid})
endforeach()
# The proxy of every dual interface: the type library marshaler of oleaut32.
set(dispatch_proxy "{00020424-0000-0000-C000-000000000046}")

# A component's GUID stays with its place in the package from version to version.
function(msi_guid variable name)
  string(UUID guid NAMESPACE 25D178AB-4C96-408A-A253-83F1D9D05ACE NAME "${name}" TYPE SHA1 UPPER)
  set(${variable} "{${guid}}" PARENT_SCOPE)
endfunction()

set(msi_out ${CMAKE_BINARY_DIR}/package)
set(TARNWELL_MSI_MAIN_FILES "")
set(TARNWELL_MSI_COMPONENT_REFS
    "      <ComponentRef Id=\"Program\"/>\n      <ComponentRef Id=\"MainVendorFolder\"/>\n")
# msi_file(COMPONENT FILE WIN64): one file of the main folder, a component of its own.
function(msi_file component file win64)
  msi_guid(guid ${component})
  string(APPEND TARNWELL_MSI_MAIN_FILES
    "            <Component Id=\"${component}\" Guid=\"${guid}\" Win64=\"${win64}\">\n"
    "              <File Id=\"${file}\" Source=\"$(var.SourceDir)/${file}\" KeyPath=\"yes\"/>\n"
    "            </Component>\n")
  string(APPEND TARNWELL_MSI_COMPONENT_REFS "      <ComponentRef Id=\"${component}\"/>\n")
  set(TARNWELL_MSI_MAIN_FILES "${TARNWELL_MSI_MAIN_FILES}" PARENT_SCOPE)
  set(TARNWELL_MSI_COMPONENT_REFS "${TARNWELL_MSI_COMPONENT_REFS}" PARENT_SCOPE)
endfunction()
# msi_registration(OUT COMPONENT SOURCE FOLDER PLATFORM): the registry component, from the
# file SOURCE below SourceDir, installed in the directory FOLDER, for win32 or win64.
function(msi_registration out component source folder platform)
  msi_guid(guid ${component})
  set(file "${component}.dll")
  if(platform STREQUAL win64)
    set(win64 yes)
  else()
    set(win64 no)
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/package/component_registration.wxi.in
                 ${msi_out}/${component}.xml @ONLY)
  file(READ ${msi_out}/${component}.xml text)
  set(${out} "${text}" PARENT_SCOPE)
  set(TARNWELL_MSI_COMPONENT_REFS
      "${TARNWELL_MSI_COMPONENT_REFS}      <ComponentRef Id=\"${component}\"/>\n" PARENT_SCOPE)
endfunction()

if(tarnwell_package_arch STREQUAL win64)
  set(TARNWELL_MSI_MAIN_PROGRAM_FILES ProgramFiles64Folder)
  set(TARNWELL_MSI_MAIN_WIN64 yes)
else()
  set(TARNWELL_MSI_MAIN_PROGRAM_FILES ProgramFilesFolder)
  set(TARNWELL_MSI_MAIN_WIN64 no)
endif()
msi_guid(TARNWELL_MSI_GUID_Program Program)
msi_guid(TARNWELL_MSI_GUID_MainVendorFolder MainVendorFolder)
foreach(file QRX_Intel_Win32.dll regtool.exe README.txt LICENSE.txt export_key.vbs
        collect_report.cmd report.schema.json)
  string(REGEX REPLACE "[^A-Za-z0-9_]" "_" component "${file}")
  msi_file(${component} ${file} ${TARNWELL_MSI_MAIN_WIN64})
endforeach()
msi_registration(TARNWELL_MSI_MAIN_REGISTRATION TarnwellRegistry TarnwellRegistry.dll
                 INSTALLDIR ${tarnwell_package_arch})

# The 32-bit release also installs the 64-bit regtool and component, from its x64 folder,
# in the 64-bit Program Files.
set(TARNWELL_MSI_X64_FOLDER "")
if(tarnwell_package_arch STREQUAL win32)
  msi_guid(regtool_x64_guid regtool_x64)
  msi_guid(x64_vendor_guid X64VendorFolder)
  msi_registration(registration_x64 TarnwellRegistry_x64 x64/TarnwellRegistry.dll
                   INSTALLDIR_X64 win64)
  string(APPEND TARNWELL_MSI_COMPONENT_REFS "      <ComponentRef Id=\"regtool_x64\"/>\n"
         "      <ComponentRef Id=\"X64VendorFolder\"/>\n")
  set(TARNWELL_MSI_X64_FOLDER
"      <Directory Id=\"ProgramFiles64Folder\">
        <Directory Id=\"X64VendorFolder\" Name=\"Tarnwell\">
          <Component Id=\"X64VendorFolder\" Guid=\"${x64_vendor_guid}\" Win64=\"yes\">
            <RemoveFolder Id=\"RemoveX64VendorFolder\" On=\"uninstall\"/>
          </Component>
          <Directory Id=\"INSTALLDIR_X64\" Name=\"${PROJECT_NAME}\">
            <Component Id=\"regtool_x64\" Guid=\"${regtool_x64_guid}\" Win64=\"yes\">
              <File Id=\"regtool_x64.exe\" Source=\"$(var.SourceDir)/x64/regtool.exe\" KeyPath=\"yes\"/>
            </Component>
${registration_x64}          </Directory>
        </Directory>
      </Directory>")
endif()
string(STRIP "${TARNWELL_MSI_COMPONENT_REFS}" refs)
set(TARNWELL_MSI_COMPONENT_REFS "      ${refs}")

configure_file(${PROJECT_SOURCE_DIR}/package/tarnwell_env.wxs.in ${msi_out}/tarnwell_env.wxs @ONLY)
# This version's ProductCode: another for each version, so that one version upgrades another.
string(UUID product_code NAMESPACE 25D178AB-4C96-408A-A253-83F1D9D05ACE
       NAME "ProductCode ${PROJECT_VERSION}" TYPE SHA1 UPPER)
file(WRITE ${msi_out}/msi.defines "Version=${PROJECT_VERSION}\nProductCode={${product_code}}\n")
