# Every project target gets strict warnings that fail the build.
add_library(velmora_warnings INTERFACE)
target_compile_options(velmora_warnings INTERFACE -Wall -Wextra -Werror)
