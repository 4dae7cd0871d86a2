# The test programs of the Windows build, run under Wine (cmake/wine-run) in a
# private prefix under the build folder. One ctest per program: starting Wine
# once per test case would take longer than the tests themselves.
set(GRELMOND_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run;${GRELMOND_WINE_PREFIX})

# Debian ships googletest as sources; they build with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Wine sees the build folder on drive Z:.
set(GRELMOND_WINE_PLUGIN_DIR "Z:${GRELMOND_PLUGIN_DIR}")

set(_tests ${CMAKE_SOURCE_DIR}/tests)
file(GLOB SUPPORT_SRCS CONFIGURE_DEPENDS ${_tests}/support/*.cpp)
# The private X server is for the X11 tests only.
list(FILTER SUPPORT_SRCS EXCLUDE REGEX "PrivateXServer")
add_library(grelmond_test_support STATIC ${SUPPORT_SRCS})
target_include_directories(grelmond_test_support PUBLIC ${_tests}/support)
target_link_libraries(grelmond_test_support PUBLIC grelmond_vst2 gtest gmock)
target_compile_options(grelmond_test_support PUBLIC -include ${_tests}/support/win32/PosixCompat.h)
target_compile_definitions(grelmond_test_support PUBLIC
  GRELMOND_PLUGIN_PATH="${GRELMOND_WINE_PLUGIN_DIR}/Grelmond.dll"
  GRELMOND_PLUGIN_DIR="${GRELMOND_WINE_PLUGIN_DIR}"
  GRELMOND_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}"
  GRELMOND_BIN_DIR="Z:${CMAKE_BINARY_DIR}/bin")

# The prefix is made once, before the tests share it.
add_test(NAME win_prefix COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run ${GRELMOND_WINE_PREFIX} cmd /c exit)
set_tests_properties(win_prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)

# name: test folder; skip: sources that only make sense on Linux; filter: cases
# that check Linux path rules or Linux-only tools (gtest negative filter).
function(grelmond_wine_test name skip filter)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${_tests}/${name}/*.cpp)
  if(skip)
    list(FILTER srcs EXCLUDE REGEX "${skip}")
  endif()
  add_executable(test_${name} ${srcs} ${ARGN})
  # Tests keep whole plug-in objects on the stack, as Linux's 8 MB allows.
  target_link_libraries(test_${name} PRIVATE grelmond_vst2 grelmond_test_support gtest gtest_main gmock
    ${GRELMOND_STATIC_RUNTIME} -Wl,--stack,16777216)
  add_dependencies(test_${name} Grelmond)
  set(_env "GRELMOND_INSTALL_PATH=${GRELMOND_WINE_PLUGIN_DIR}")
  if(filter)
    list(APPEND _env "GTEST_FILTER=-${filter}")
  endif()
  add_test(NAME win_${name} COMMAND test_${name} --gtest_brief=1)
  set_tests_properties(win_${name} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 900 FIXTURES_REQUIRED wine_prefix)
endfunction()

grelmond_wine_test(formats "HostInfoTest|/vst3/" "")
grelmond_wine_test(core "IncludeRulesTest" "")
grelmond_wine_test(params "" "")
grelmond_wine_test(engine "" "" ${_tests}/render/SoundMeasures.cpp)
target_include_directories(test_engine PRIVATE ${_tests}/render)
grelmond_wine_test(render "HostRenderTest" "")
grelmond_wine_test(storage "BankNumbersTest" "RememberedFolder.*")
grelmond_wine_test(win32 "" "" ${GRELMOND_RC_FILE})
# The toolkit's pixel and control tests on the GDI backend; the bitmaps are
# resources of the test program as they are of the plug-in.
grelmond_wine_test(gui "X11" "" ${GRELMOND_RC_FILE})
