# tolvane_bitmap_resources(TARGET target NAMESPACE ns FUNCTION fn FILES a.bmp ...)
#   Builds bitmap files into a library: a generated source holds their bytes
#   and defines ns::fn(), which registers them with the class library's
#   named resources (vcl/Resources.h) under their file names without the
#   extension. The library calls fn() from its start-up; nothing is
#   registered at static initialisation.
function(tolvane_bitmap_resources)
  cmake_parse_arguments(A "" "TARGET;NAMESPACE;FUNCTION" "FILES" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${A_FUNCTION}.cpp)
  set(files "")
  foreach(f IN LISTS A_FILES)
    get_filename_component(abs ${f} ABSOLUTE)
    list(APPEND files ${abs})
  endforeach()
  string(REPLACE ";" "|" packed "${files}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DNAMESPACE=${A_NAMESPACE} -DFUNCTION=${A_FUNCTION} -DFILES=${packed}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Embedding bitmaps for ${A_TARGET}"
    VERBATIM)
  target_sources(${A_TARGET} PRIVATE ${out})
endfunction()
