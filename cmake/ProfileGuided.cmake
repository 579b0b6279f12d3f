# Profile-guided optimisation (GCC). SEEDLENS_PROFILE=generate builds code
# that records where time goes into SEEDLENS_PROFILE_DIR; =use compiles with
# that record, so hot paths are laid out together and inlined, cold paths
# moved aside. scripts/train_profile.sh makes the record.
set(SEEDLENS_PROFILE "" CACHE STRING "Profile-guided optimisation: empty, generate or use")
set(SEEDLENS_PROFILE_DIR "${PROJECT_BINARY_DIR}/profile" CACHE PATH "Where the profile is written and read")

if(SEEDLENS_PROFILE AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  message(WARNING "Profile-guided optimisation needs GCC; building without it")
elseif(SEEDLENS_PROFILE STREQUAL "generate")
  # Names of the profile's files relative to the build folder, so that
  # another build folder finds them.
  add_compile_options(-fprofile-generate=${SEEDLENS_PROFILE_DIR} -fprofile-update=atomic
                      -fprofile-prefix-path=${PROJECT_BINARY_DIR})
  add_link_options(-fprofile-generate=${SEEDLENS_PROFILE_DIR})
elseif(SEEDLENS_PROFILE STREQUAL "use")
  # Code the training never ran (error paths, hostile input) keeps its
  # ordinary optimisation instead of being optimised for size; sources the
  # training build leaves out (tests, benchmarks) build as usual. A profile
  # older than a source only warns: that source is built as usual. GCC's
  # stale-profile notes ("missing counts") have no option of their own, so
  # warnings do not fail this build (see Warnings.cmake); the debug and
  # sanitizer builds keep treating them as errors.
  add_compile_options(-fprofile-use=${SEEDLENS_PROFILE_DIR} -fprofile-partial-training
                      -fprofile-prefix-path=${PROJECT_BINARY_DIR} -Wno-missing-profile
                      -Wno-error=coverage-mismatch)
elseif(SEEDLENS_PROFILE)
  message(FATAL_ERROR "SEEDLENS_PROFILE is '${SEEDLENS_PROFILE}'; expected generate or use")
endif()
