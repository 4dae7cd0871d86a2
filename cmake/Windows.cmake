# The Windows x64 build (mingw-w64, see cmake/mingw-w64-x86_64.cmake). The same
# sources as on Linux, with the win32 platform layer and the GDI/USER toolkit in
# place of the POSIX and X11/cairo ones. The waveform data file is made by the
# native wavegen and handed in with GRELMOND_WAVEFORM_SOURCE.
set(GRELMOND_WAVEFORM_SOURCE "" CACHE FILEPATH "Grelmond.dlx written by the native wavegen")

add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 _USE_MATH_DEFINES)
# The C++ runtime and threads are linked in, so the plug-in needs only system DLLs.
set(GRELMOND_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

set(GRELMOND_PLUGIN_DIR ${CMAKE_BINARY_DIR}/Grelmond)
file(MAKE_DIRECTORY ${GRELMOND_PLUGIN_DIR})

# The editor bitmaps become resources of the library under their numeric ids
# (the 2x pictures under their id plus 1000).
file(GLOB GRELMOND_BMP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.bmp)
list(SORT GRELMOND_BMP_FILES)
file(GLOB GRELMOND_BMP2X_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/2x/*.bmp)
list(SORT GRELMOND_BMP2X_FILES)
list(APPEND GRELMOND_BMP_FILES ${GRELMOND_BMP2X_FILES})
set(_rc "// Generated from resources/*.bmp by cmake/Windows.cmake.\n")
foreach(_file ${GRELMOND_BMP_FILES})
  get_filename_component(_name ${_file} NAME)
  if(_name MATCHES "^([0-9]+)")
    math(EXPR _id "${CMAKE_MATCH_1}")
    if(_file MATCHES "/2x/[^/]+$")
      math(EXPR _id "${_id} + 1000")
    endif()
    string(APPEND _rc "${_id} BITMAP \"${_file}\"\n")
  endif()
endforeach()
set(GRELMOND_RC_FILE ${CMAKE_BINARY_DIR}/generated/Bitmaps.rc)
file(WRITE ${GRELMOND_RC_FILE}.new "${_rc}")
configure_file(${GRELMOND_RC_FILE}.new ${GRELMOND_RC_FILE} COPYONLY)
set_source_files_properties(${GRELMOND_RC_FILE} PROPERTIES OBJECT_DEPENDS "${GRELMOND_BMP_FILES}")

file(GLOB_RECURSE GRELMOND_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER GRELMOND_CORE_SOURCES EXCLUDE REGEX ".*/src/formats/.*")
list(FILTER GRELMOND_CORE_SOURCES EXCLUDE REGEX ".*/src/gui/(x11|image)/.*")
list(FILTER GRELMOND_CORE_SOURCES EXCLUDE REGEX
  ".*/src/gui/(DrawContext|GuiBitmap|OffscreenContext|BmpDecoder)\\.cpp$")
list(FILTER GRELMOND_CORE_SOURCES EXCLUDE REGEX ".*/src/platform/[A-Za-z]+\\.cpp$")
list(APPEND GRELMOND_CORE_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/BundleFolder.cpp) # no platform calls
add_library(grelmond_core STATIC ${GRELMOND_CORE_SOURCES})
# GCC cannot realign the Win64 stack to 32 bytes, yet spills AVX registers with
# aligned moves; the assembler turns every aligned vector move into an unaligned one.
set_source_files_properties(${GRELMOND_AVX2_SOURCES} PROPERTIES COMPILE_OPTIONS "-mavx2;-Wa,-muse-unaligned-vector-move")
target_include_directories(grelmond_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(grelmond_core PUBLIC gdi32 user32 advapi32 shell32)

file(GLOB GRELMOND_VST2_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/formats/vst2/*.cpp)
list(FILTER GRELMOND_VST2_SOURCES EXCLUDE REGEX ".*/Entry\\.cpp$")
add_library(grelmond_vst2 STATIC ${GRELMOND_VST2_SOURCES})
target_link_libraries(grelmond_vst2 PUBLIC grelmond_core)

add_library(Grelmond MODULE src/formats/vst2/Entry.cpp src/formats/vst2/win32/DllMain.cpp
  src/formats/vst2/win32/Grelmond.def ${GRELMOND_RC_FILE})
target_link_libraries(Grelmond PRIVATE grelmond_vst2 ${GRELMOND_STATIC_RUNTIME})
set_target_properties(Grelmond PROPERTIES PREFIX "" OUTPUT_NAME Grelmond
  LIBRARY_OUTPUT_DIRECTORY ${GRELMOND_PLUGIN_DIR} RUNTIME_OUTPUT_DIRECTORY ${GRELMOND_PLUGIN_DIR})

# The data files sit beside the library, as they do when installed.
set(GRELMOND_WAVEFORM_FILE ${GRELMOND_PLUGIN_DIR}/Grelmond.dlx)
set(GRELMOND_DEFAULT_BANK ${GRELMOND_PLUGIN_DIR}/GrelmondDefault.grb)
if(GRELMOND_WAVEFORM_SOURCE)
  add_custom_command(OUTPUT ${GRELMOND_WAVEFORM_FILE}
    COMMAND ${CMAKE_COMMAND} -E copy ${GRELMOND_WAVEFORM_SOURCE} ${GRELMOND_WAVEFORM_FILE}
    DEPENDS ${GRELMOND_WAVEFORM_SOURCE} VERBATIM)
else()
  message(WARNING "GRELMOND_WAVEFORM_SOURCE is not set: the plug-in folder has no Grelmond.dlx")
  set(GRELMOND_WAVEFORM_FILE "")
endif()
add_custom_command(OUTPUT ${GRELMOND_DEFAULT_BANK}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/GrelmondDefault.grb ${GRELMOND_DEFAULT_BANK}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/GrelmondDefault.grb VERBATIM)
add_custom_target(plugin_data ALL DEPENDS ${GRELMOND_WAVEFORM_FILE} ${GRELMOND_DEFAULT_BANK})
add_dependencies(Grelmond plugin_data)
set(GRELMOND_DATA_TARGETS plugin_data)

include(cmake/Vst3.cmake)
include(cmake/Tunings.cmake)

# The host, for rendering and opening the editor under Wine.
file(GLOB GRELMOND_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/grelmond-host/*.cpp
  ${CMAKE_SOURCE_DIR}/tools/grelmond-host/win32/*.cpp)
list(FILTER GRELMOND_HOST_SOURCES EXCLUDE REGEX ".*/tools/grelmond-host/(EditorWindow|WavWriter)\\.cpp$")
# LV2 bundles are played on Linux only.
list(FILTER GRELMOND_HOST_SOURCES EXCLUDE REGEX ".*/tools/grelmond-host/(Lv2[A-Za-z]*|UridMap)\\.cpp$")
add_executable(grelmond-host ${GRELMOND_HOST_SOURCES})
target_include_directories(grelmond-host PRIVATE ${CMAKE_SOURCE_DIR}/tools/grelmond-host)
target_link_libraries(grelmond-host PRIVATE grelmond_vst2 grelmond_vst3_sdk ${GRELMOND_STATIC_RUNTIME})
set_target_properties(grelmond-host PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(GRELMOND_TESTS)
  enable_testing()
  include(cmake/WindowsTests.cmake)
endif()
