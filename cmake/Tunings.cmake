# The shipped scales and keyboard mappings sit in a tunings folder beside the
# plug-in, as they do when installed.
file(GLOB GRELMOND_TUNING_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/tunings/*.scl ${CMAKE_SOURCE_DIR}/resources/tunings/*.kbm)
set(GRELMOND_TUNING_FILES "")
foreach(source ${GRELMOND_TUNING_SOURCES})
  get_filename_component(name ${source} NAME)
  set(target ${GRELMOND_PLUGIN_DIR}/tunings/${name})
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
    DEPENDS ${source} VERBATIM)
  list(APPEND GRELMOND_TUNING_FILES ${target})
endforeach()
add_custom_target(tuning_files ALL DEPENDS ${GRELMOND_TUNING_FILES})
add_dependencies(Grelmond tuning_files)
