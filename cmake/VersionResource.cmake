# A Windows binary carries a version resource, so that its file properties
# say what it is: the project's version, and the copyright line of LICENSE.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE SEEDLENS_COPYRIGHT REGEX "^Copyright" LIMIT_COUNT 1)

# FileType: VFT_APP or VFT_DLL; FileName: the name the file is shipped under.
function(seedlens_version_resource Target FileType FileName Description)
  if(NOT WIN32)
    return()
  endif()
  set(SEEDLENS_RC_FILE_TYPE ${FileType})
  set(SEEDLENS_RC_FILE_NAME ${FileName})
  set(SEEDLENS_RC_DESCRIPTION ${Description})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${Target}_version.rc @ONLY)
  target_sources(${Target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${Target}_version.rc)
endfunction()
