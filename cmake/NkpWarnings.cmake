# Warnings on our own code only: every library and executable of the project
# links this interface target. Warnings stop the build only where asked for
# (the presets, test.sh and CI): a packager's plain build must not fail on a
# newer compiler's false warning.
option(NKP_WERROR "Treat compiler warnings as errors" OFF)
add_library(nkp_warnings INTERFACE)
target_compile_options(nkp_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(NKP_WERROR)
  target_compile_options(nkp_warnings INTERFACE -Werror)
endif()
