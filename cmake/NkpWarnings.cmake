# Warnings as errors on our own code only: every library and executable of the
# project links this interface target.
add_library(nkp_warnings INTERFACE)
target_compile_options(nkp_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)
