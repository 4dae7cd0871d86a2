# The test programs of the Windows build, run under Wine (cmake/wine-run) in a
# private prefix under the build folder. One ctest per program: starting Wine
# once per test case would take longer than the tests themselves.
