# Warnings are errors for our own code only; third-party headers come in as system includes.
add_library(mirovex_warnings INTERFACE)
if(MSVC)
  target_compile_options(mirovex_warnings INTERFACE /W4 /WX /utf-8)
else()
  target_compile_options(mirovex_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Wformat=2 -Werror)
endif()
