# Warning flags applied to every target of the project through qx_warnings.
add_library(qx_warnings INTERFACE)
target_compile_options(qx_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(QXTOOL_WERROR)
  target_compile_options(qx_warnings INTERFACE -Werror)
endif()
