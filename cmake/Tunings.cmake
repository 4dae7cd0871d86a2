# The shipped scales and keyboard mappings sit in a tunings folder beside each
# build's data files (the VST 2 folder, the bundles' resource folders), as they
# do when installed.
file(GLOB GRELMOND_TUNING_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/tunings/*.scl ${CMAKE_SOURCE_DIR}/resources/tunings/*.kbm)
set(GRELMOND_TUNING_DIRS ${GRELMOND_PLUGIN_DIR}/tunings)
if(DEFINED GRELMOND_VST3_RESOURCES)
  list(APPEND GRELMOND_TUNING_DIRS ${GRELMOND_VST3_RESOURCES}/tunings)
endif()
if(DEFINED GRELMOND_LV2_DIR)
  list(APPEND GRELMOND_TUNING_DIRS ${GRELMOND_LV2_DIR}/tunings)
endif()
set(GRELMOND_TUNING_FILES "")
foreach(dir ${GRELMOND_TUNING_DIRS})
  foreach(source ${GRELMOND_TUNING_SOURCES})
    get_filename_component(name ${source} NAME)
    set(target ${dir}/${name})
    add_custom_command(OUTPUT ${target}
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
      DEPENDS ${source} VERBATIM)
    list(APPEND GRELMOND_TUNING_FILES ${target})
  endforeach()
endforeach()
add_custom_target(tuning_files ALL DEPENDS ${GRELMOND_TUNING_FILES})
add_dependencies(Grelmond tuning_files)
