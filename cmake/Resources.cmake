# Embeds resources/*.bmp into grelmond_core. The leading number of a file's name
# is its resource id ("226-knob.bmp" is resource 226); the pictures drawn at twice
# the density, resources/2x/*.bmp, take their id plus 1000. The generated table is
# looked up with findBitmapResource(id).
file(GLOB GRELMOND_BMP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.bmp)
list(SORT GRELMOND_BMP_FILES)
file(GLOB GRELMOND_BMP2X_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/2x/*.bmp)
list(SORT GRELMOND_BMP2X_FILES)
list(APPEND GRELMOND_BMP_FILES ${GRELMOND_BMP2X_FILES})

set(_res_ids "")
set(_res_asm "")
set(_res_decl "")
set(_res_cases "")
set(_res_deps "")
foreach(_file ${GRELMOND_BMP_FILES})
  get_filename_component(_name ${_file} NAME)
  if(NOT _name MATCHES "^([0-9]+)")
    continue()
  endif()
  math(EXPR _id "${CMAKE_MATCH_1}")
  if(_file MATCHES "/2x/[^/]+$")
    math(EXPR _id "${_id} + 1000")
  endif()
  if(_id IN_LIST _res_ids)
    message(WARNING "resource id ${_id} appears twice; ${_name} is ignored")
    continue()
  endif()
  list(APPEND _res_ids ${_id})
  list(APPEND _res_deps ${_file})
  set(_sym grelmond_res_${_id})
  string(APPEND _res_asm
    "    \".global ${_sym}_start\\n.hidden ${_sym}_start\\n${_sym}_start:\\n\"\n"
    "    \".incbin \\\"${_file}\\\"\\n\"\n"
    "    \".global ${_sym}_end\\n.hidden ${_sym}_end\\n${_sym}_end:\\n\"\n")
  string(APPEND _res_decl
    "extern \"C\" __attribute__((visibility(\"hidden\"))) const uint8_t ${_sym}_start[];\n"
    "extern \"C\" __attribute__((visibility(\"hidden\"))) const uint8_t ${_sym}_end[];\n")
  string(APPEND _res_cases
    "    case ${_id}: return {${_sym}_start, size_t(${_sym}_end - ${_sym}_start)};\n")
endforeach()

set(_res_source "// Generated from resources/*.bmp by cmake/Resources.cmake.\n#include \"gui/BitmapResources.h\"\n\n")
if(_res_ids)
  string(APPEND _res_source
    "__asm__(\".pushsection .rodata.grelmond_resources,\\\"a\\\",@progbits\\n.balign 4\\n\"\n"
    "${_res_asm}"
    "    \".popsection\\n\");\n\n${_res_decl}\n")
endif()
string(APPEND _res_source
  "namespace grelmond {\n\nBitmapResource findBitmapResource(int id)\n{\n    switch (id) {\n"
  "${_res_cases}"
  "    default: return {};\n    }\n}\n\n} // namespace grelmond\n")

set(_res_out ${CMAKE_BINARY_DIR}/generated/BitmapResourceTable.cpp)
file(WRITE ${_res_out}.new "${_res_source}")
configure_file(${_res_out}.new ${_res_out} COPYONLY)
set_source_files_properties(${_res_out} PROPERTIES OBJECT_DEPENDS "${_res_deps}")
set(GRELMOND_RESOURCE_SOURCES ${_res_out})
