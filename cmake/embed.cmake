# vextable_embed(TARGET target FILES a b ... ) compiles each file into TARGET as a byte array:
# for a file named Foo.ini the symbols are
#   extern const unsigned char kEmbedded_Foo_ini[]; extern const std::size_t kEmbedded_Foo_ini_size;
# The bytes are the file's own, unchanged, so what is written out later is what was checked in.
function(vextable_embed)
  cmake_parse_arguments(E "" "TARGET" "FILES" ${ARGN})
  foreach(src IN LISTS E_FILES)
    get_filename_component(abs "${src}" ABSOLUTE)
    get_filename_component(name "${src}" NAME)
    string(MAKE_C_IDENTIFIER "${name}" id)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_${id}.cpp")
    add_custom_command(
      OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DID=${id}
              -P "${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake"
      DEPENDS "${abs}" "${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake"
      COMMENT "Embedding ${name}"
      VERBATIM)
    target_sources(${E_TARGET} PRIVATE "${out}")
  endforeach()
endfunction()
