# Windows resources for the shipped binaries: version information from the project's
# version, and for programs the application manifest and the icon.
#   tarnwell_add_resources(TARGET KIND DESCRIPTION)   KIND: PROGRAM or LIBRARY
set(TARNWELL_COMPANY "The tarnwell_env authors")
set(TARNWELL_COPYRIGHT "Copyright (C) 2026 The tarnwell_env authors")
set(TARNWELL_VERSION_QUAD_COMMAS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(TARNWELL_VERSION_QUAD_DOTS
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")

set(tarnwell_res_dir ${CMAKE_CURRENT_LIST_DIR}/../res)
set(tarnwell_icon ${CMAKE_BINARY_DIR}/res/tarnwell_env.ico)
add_custom_command(
  OUTPUT ${tarnwell_icon}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/res
  COMMAND ${tarnwell_res_dir}/render_icon.sh ${tarnwell_res_dir}/tarnwell_env.mvg ${tarnwell_icon}
  DEPENDS ${tarnwell_res_dir}/tarnwell_env.mvg ${tarnwell_res_dir}/render_icon.sh
  COMMENT "Drawing the program icon")
add_custom_target(tarnwell_icon DEPENDS ${tarnwell_icon})

function(tarnwell_add_resources target kind description)
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(TARNWELL_RES_NAME ${output_name})
  set(TARNWELL_RES_DESCRIPTION "${description}")
  set(out ${CMAKE_BINARY_DIR}/res/${target})
  if(kind STREQUAL "PROGRAM")
    set(TARNWELL_RES_FILE ${output_name}.exe)
    set(TARNWELL_RES_FILETYPE VFT_APP)
    # Resource 1 of type 24 is the manifest Windows reads when it starts a program.
    set(TARNWELL_RES_MANIFEST "1 24 \"${out}/app.manifest\"")
    set(TARNWELL_RES_ICON "1 ICON \"${tarnwell_icon}\"")
    configure_file(${tarnwell_res_dir}/app.manifest.in ${out}/app.manifest @ONLY)
    add_dependencies(${target} tarnwell_icon)
  else()
    # A library runs inside a program's process, under that program's manifest.
    set(TARNWELL_RES_FILE ${output_name}.dll)
    set(TARNWELL_RES_FILETYPE VFT_DLL)
    set(TARNWELL_RES_MANIFEST "")
    set(TARNWELL_RES_ICON "")
  endif()
  configure_file(${tarnwell_res_dir}/resources.rc.in ${out}/resources.rc @ONLY)
  target_sources(${target} PRIVATE ${out}/resources.rc)
  if(kind STREQUAL "PROGRAM")
    set_source_files_properties(${out}/resources.rc TARGET_DIRECTORY ${target}
      PROPERTIES OBJECT_DEPENDS "${out}/app.manifest;${tarnwell_icon}")
  endif()
endfunction()
