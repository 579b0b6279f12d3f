# Shared warning set for every Seedlens target.
add_library(seedlens_warnings INTERFACE)
target_compile_options(seedlens_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)
# A profile-guided build only warns: a profile older than a source gives
# notes that no option turns off.
if(SEEDLENS_WERROR AND NOT SEEDLENS_PROFILE STREQUAL "use")
  target_compile_options(seedlens_warnings INTERFACE -Werror)
endif()
