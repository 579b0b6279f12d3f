# Builds every target with the sanitizers named in SEEDLENS_SANITIZERS.
if(SEEDLENS_SANITIZERS)
  add_compile_options(-fsanitize=${SEEDLENS_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${SEEDLENS_SANITIZERS})
endif()

# Fuzz builds instrument every library for coverage; only the targets link
# libFuzzer's main.
if(SEEDLENS_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
