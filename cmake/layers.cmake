# Each layer of the tree sees only its own folders and those of the layers it links: the
# folders a target may include from are linked into a folder of its own in the build tree,
# and that folder, not the project root, is the target's include path. An include that points
# up the layers then fails to compile instead of working by accident.
#
# vextable_layer_includes(TARGET target [PUBLIC|PRIVATE|INTERFACE] PATHS path ...)
#   PATHS are folders or files relative to the project root ("model", "cadhost/sdk",
#   "cadhost/host/host_control.h"); each is reachable from the target as it is named here.
function(vextable_layer_includes)
  cmake_parse_arguments(L "PUBLIC;PRIVATE;INTERFACE" "TARGET" "PATHS" ${ARGN})
  set(scope PUBLIC)
  if(L_PRIVATE)
    set(scope PRIVATE)
  elseif(L_INTERFACE)
    set(scope INTERFACE)
  endif()
  set(root "${CMAKE_BINARY_DIR}/layers/${L_TARGET}-${scope}")
  foreach(p IN LISTS L_PATHS)
    if(NOT EXISTS "${PROJECT_SOURCE_DIR}/${p}")
      message(FATAL_ERROR "vextable_layer_includes: ${p} does not exist")
    endif()
    get_filename_component(parent "${root}/${p}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    if(NOT IS_SYMLINK "${root}/${p}")
      file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${p}" "${root}/${p}" SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${L_TARGET} ${scope} "${root}")
endfunction()
