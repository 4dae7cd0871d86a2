# The LV2 adapter: the translation between LV2's calls and the instrument.
file(GLOB_RECURSE GRELMOND_LV2_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/formats/lv2/*.cpp)
list(FILTER GRELMOND_LV2_SOURCES EXCLUDE REGEX ".*/Lv2(Ui)?Entry\\.cpp$")
add_library(grelmond_lv2 STATIC ${GRELMOND_LV2_SOURCES})
target_link_libraries(grelmond_lv2 PUBLIC grelmond_core)

set(GRELMOND_LV2_DIR ${CMAKE_BINARY_DIR}/Grelmond.lv2)
add_library(Grelmond_lv2 MODULE ${CMAKE_SOURCE_DIR}/src/formats/lv2/Lv2Entry.cpp)
# Never unloaded once loaded, like the VST 2 library, for the same reason.
target_link_libraries(Grelmond_lv2 PRIVATE grelmond_lv2 -Wl,--no-undefined -Wl,--exclude-libs,ALL -Wl,-z,nodelete
  -Wl,--version-script=${CMAKE_SOURCE_DIR}/src/formats/lv2/exports.map)
set_target_properties(Grelmond_lv2 PROPERTIES PREFIX "" OUTPUT_NAME Grelmond
  LIBRARY_OUTPUT_DIRECTORY ${GRELMOND_LV2_DIR} LINK_DEPENDS ${CMAKE_SOURCE_DIR}/src/formats/lv2/exports.map)

# The editor's library, loaded by hosts on their own (perhaps in another process).
set(GRELMOND_LV2_UI_EXPORTS ${CMAKE_SOURCE_DIR}/src/formats/lv2/ui/ui-exports.map)
add_library(GrelmondUI_lv2 MODULE ${CMAKE_SOURCE_DIR}/src/formats/lv2/ui/Lv2UiEntry.cpp)
target_link_libraries(GrelmondUI_lv2 PRIVATE grelmond_lv2 -Wl,--no-undefined -Wl,--exclude-libs,ALL -Wl,-z,nodelete
  -Wl,--version-script=${GRELMOND_LV2_UI_EXPORTS})
set_target_properties(GrelmondUI_lv2 PROPERTIES PREFIX "" OUTPUT_NAME GrelmondUI
  LIBRARY_OUTPUT_DIRECTORY ${GRELMOND_LV2_DIR} LINK_DEPENDS ${GRELMOND_LV2_UI_EXPORTS})

# The LV2 bundle build/Grelmond.lv2/: the description files that tools/lv2ttl
# writes from the parameter table and the factory bank, and the data files
# beside the library, as they are when installed.
set(GRELMOND_LV2_TTL ${GRELMOND_LV2_DIR}/manifest.ttl ${GRELMOND_LV2_DIR}/Grelmond.ttl ${GRELMOND_LV2_DIR}/presets.ttl)
add_custom_command(OUTPUT ${GRELMOND_LV2_TTL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GRELMOND_LV2_DIR}
  COMMAND lv2ttl ${CMAKE_SOURCE_DIR}/resources/GrelmondDefault.grb ${GRELMOND_LV2_DIR}
  DEPENDS lv2ttl ${CMAKE_SOURCE_DIR}/resources/GrelmondDefault.grb VERBATIM)
add_custom_command(OUTPUT ${GRELMOND_LV2_DIR}/Grelmond.dlx ${GRELMOND_LV2_DIR}/GrelmondDefault.grb
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GRELMOND_LV2_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${GRELMOND_WAVEFORM_FILE} ${GRELMOND_LV2_DIR}/Grelmond.dlx
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/GrelmondDefault.grb ${GRELMOND_LV2_DIR}/GrelmondDefault.grb
  DEPENDS waveform_data ${GRELMOND_WAVEFORM_FILE} ${CMAKE_SOURCE_DIR}/resources/GrelmondDefault.grb VERBATIM)
add_custom_target(lv2_data ALL DEPENDS ${GRELMOND_LV2_TTL} ${GRELMOND_LV2_DIR}/Grelmond.dlx
  ${GRELMOND_LV2_DIR}/GrelmondDefault.grb)
add_dependencies(Grelmond_lv2 lv2_data)
add_custom_target(lv2_bundle ALL DEPENDS Grelmond_lv2 GrelmondUI_lv2 lv2_data)
