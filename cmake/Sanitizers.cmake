# Sanitizer builds. MIROVEX_SANITIZE: AddressSanitizer (with leak checking) and
# UndefinedBehaviorSanitizer for everything, tests included. MIROVEX_FUZZ: the same, plus
# libFuzzer's coverage instrumentation, and the fuzz targets under fuzz/ (clang only).
option(MIROVEX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(MIROVEX_FUZZ "Build the libFuzzer targets (clang; implies MIROVEX_SANITIZE)" OFF)

if(MIROVEX_SANITIZE OR MIROVEX_FUZZ)
  if(MSVC)
    message(FATAL_ERROR "MIROVEX_SANITIZE and MIROVEX_FUZZ need gcc or clang")
  endif()
  # Any undefined behaviour stops the program, so that a test or a fuzzer cannot miss it.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
if(MIROVEX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
