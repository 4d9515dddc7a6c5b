# Warnings for the project's own code only; a consumer of the installed tree
# never sees them.
add_library(kestrel_warnings INTERFACE)
target_compile_options(kestrel_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  # A caller's text passed as a format, or an argument of the wrong type for
  # the base library's printf-like functions, is a warning (so an error).
  -Wformat=2
  $<$<BOOL:${KESTREL_WERROR}>:-Werror>)

# Links kestrel_warnings into every target defined in dir and below, so a new
# target has them without asking.
function(kestrel_apply_warnings dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      target_link_libraries(${target} PRIVATE kestrel_warnings)
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    kestrel_apply_warnings(${subdir})
  endforeach()
endfunction()
