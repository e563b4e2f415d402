# quillmark_add_windows_resources(TARGET RC_IN)
#
# On Windows, configures the resource script RC_IN (an .rc.in naming
# @PROJECT_VERSION@, @PROJECT_VERSION_MAJOR@ ... @PROJECT_VERSION_TWEAK@ and
# @QUILLMARK_WINDOWS_RES_DIR@) into the build folder and compiles it into
# TARGET: the icon, the version information and the manifest. Elsewhere it
# does nothing, so that it can be called unconditionally.
#
# The configured script names the icon and the manifest by absolute path,
# and the object is rebuilt when either changes (the resource compiler's
# dependency scan sees #include lines only).

set(QUILLMARK_WINDOWS_RES_DIR "${CMAKE_CURRENT_LIST_DIR}/../res/windows")
get_filename_component(QUILLMARK_WINDOWS_RES_DIR "${QUILLMARK_WINDOWS_RES_DIR}" ABSOLUTE)

function(quillmark_add_windows_resources target rc_in)
  if(NOT WIN32)
    return()
  endif()
  # Once per directory scope is enough; enabling it again is harmless.
  enable_language(RC)

  get_filename_component(rc_in "${rc_in}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(rc_name "${rc_in}" NAME)
  string(REGEX REPLACE "\\.in$" "" rc_name "${rc_name}")

  # VERSIONINFO wants four numbers; a version like 0.5 leaves the last unset.
  foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
      set(PROJECT_VERSION_${part} 0)
    endif()
  endforeach()

  set(rc_out "${CMAKE_CURRENT_BINARY_DIR}/${target}-resources/${rc_name}")
  configure_file("${rc_in}" "${rc_out}" @ONLY)

  file(GLOB resource_files "${QUILLMARK_WINDOWS_RES_DIR}/*.ico" "${QUILLMARK_WINDOWS_RES_DIR}/*.manifest")
  set_source_files_properties("${rc_out}" PROPERTIES OBJECT_DEPENDS "${resource_files}")
  target_sources(${target} PRIVATE "${rc_out}")
endfunction()
