# Warnings as errors on our own code only: every library and executable of the
# project links this interface target.
add_library(nkp_warnings INTERFACE)
target_compile_options(nkp_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)

# Adds a subdirectory only when it exists, so that the tree builds while
# libraries are still being added.
function(nkp_add_optional_subdirectory dir)
  if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
    add_subdirectory(${dir})
  endif()
endfunction()
