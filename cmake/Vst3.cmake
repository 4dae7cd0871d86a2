# The VST 3 build: the interface headers and IID definitions that Debian's
# juce-modules-source-data ships (used under their GPL-3.0 option), the
# adapter in src/formats/vst3 and the bundle
#   Grelmond.vst3/Contents/<arch>/Grelmond.<so|vst3>
#   Grelmond.vst3/Contents/Resources/{Grelmond.dlx,GrelmondDefault.grb}
set(GRELMOND_VST3_SDK /usr/share/juce/modules/juce_audio_processors/format_types/VST3_SDK
  CACHE PATH "Folder holding the VST 3 interface headers (pluginterfaces/)")
if(NOT EXISTS ${GRELMOND_VST3_SDK}/pluginterfaces/base/funknown.h)
  message(FATAL_ERROR "VST 3 interface headers not found in ${GRELMOND_VST3_SDK}: install juce-modules-source-data")
endif()

# Only the interfaces and their IIDs: the adapter implements everything itself.
add_library(grelmond_vst3_sdk STATIC
  ${GRELMOND_VST3_SDK}/pluginterfaces/base/funknown.cpp
  ${GRELMOND_VST3_SDK}/pluginterfaces/base/coreiids.cpp
  ${GRELMOND_VST3_SDK}/public.sdk/source/vst/vstinitiids.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/vst3/ViewIids.cpp)
target_include_directories(grelmond_vst3_sdk SYSTEM PUBLIC ${GRELMOND_VST3_SDK})
if(NOT WIN32)
  target_compile_definitions(grelmond_vst3_sdk PUBLIC SMTG_OS_LINUX=1)
endif()
target_compile_options(grelmond_vst3_sdk PRIVATE -w)

if(WIN32)
  set(GRELMOND_VST3_ARCH x86_64-win)
  set(GRELMOND_VST3_SUFFIX .vst3)
else()
  set(GRELMOND_VST3_ARCH x86_64-linux)
  set(GRELMOND_VST3_SUFFIX .so)
endif()
set(GRELMOND_VST3_BUNDLE ${CMAKE_BINARY_DIR}/Grelmond.vst3)
set(GRELMOND_VST3_RESOURCES ${GRELMOND_VST3_BUNDLE}/Contents/Resources)
file(MAKE_DIRECTORY ${GRELMOND_VST3_BUNDLE}/Contents/${GRELMOND_VST3_ARCH} ${GRELMOND_VST3_RESOURCES})

file(GLOB GRELMOND_VST3_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/formats/vst3/*.cpp)
list(FILTER GRELMOND_VST3_SOURCES EXCLUDE REGEX ".*/(ViewIids|Vst3Entry)\\.cpp$")
add_library(grelmond_vst3 STATIC ${GRELMOND_VST3_SOURCES})
target_link_libraries(grelmond_vst3 PUBLIC grelmond_core grelmond_vst3_sdk)

add_library(Grelmond_vst3 MODULE src/formats/vst3/Vst3Entry.cpp)
if(WIN32)
  target_sources(Grelmond_vst3 PRIVATE src/formats/vst3/win32/Grelmond.def ${GRELMOND_RC_FILE})
  target_link_libraries(Grelmond_vst3 PRIVATE grelmond_vst3 ${GRELMOND_STATIC_RUNTIME})
else()
  # Kept loaded for the same reason as the VST 2 library: the drawing
  # libraries keep process-wide state that would leak on every unload.
  target_link_libraries(Grelmond_vst3 PRIVATE grelmond_vst3 -Wl,--no-undefined -Wl,--exclude-libs,ALL
    -Wl,-z,nodelete -Wl,--version-script=${CMAKE_SOURCE_DIR}/src/formats/vst3/exports.map)
  set_target_properties(Grelmond_vst3 PROPERTIES LINK_DEPENDS ${CMAKE_SOURCE_DIR}/src/formats/vst3/exports.map)
endif()
set_target_properties(Grelmond_vst3 PROPERTIES PREFIX "" OUTPUT_NAME Grelmond SUFFIX ${GRELMOND_VST3_SUFFIX}
  LIBRARY_OUTPUT_DIRECTORY ${GRELMOND_VST3_BUNDLE}/Contents/${GRELMOND_VST3_ARCH}
  RUNTIME_OUTPUT_DIRECTORY ${GRELMOND_VST3_BUNDLE}/Contents/${GRELMOND_VST3_ARCH})

# The data files in the bundle's Resources folder, copies of the VST 2 ones.
set(_vst3_data "")
foreach(_file ${GRELMOND_WAVEFORM_FILE} ${GRELMOND_DEFAULT_BANK})
  get_filename_component(_name ${_file} NAME)
  add_custom_command(OUTPUT ${GRELMOND_VST3_RESOURCES}/${_name}
    COMMAND ${CMAKE_COMMAND} -E copy ${_file} ${GRELMOND_VST3_RESOURCES}/${_name}
    DEPENDS ${_file} VERBATIM)
  list(APPEND _vst3_data ${GRELMOND_VST3_RESOURCES}/${_name})
endforeach()
add_custom_target(vst3_bundle_data ALL DEPENDS ${_vst3_data})
# Without the target-level order, make pulls the waveform generator into this
# target as well, and a parallel build copies a half-written file.
add_dependencies(vst3_bundle_data ${GRELMOND_DATA_TARGETS})
add_dependencies(Grelmond_vst3 vst3_bundle_data)
