# Shared warning set for every Seedlens target.
add_library(seedlens_warnings INTERFACE)
target_compile_options(seedlens_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)
if(SEEDLENS_WERROR)
  target_compile_options(seedlens_warnings INTERFACE -Werror)
endif()
