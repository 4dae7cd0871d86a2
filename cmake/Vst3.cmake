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

