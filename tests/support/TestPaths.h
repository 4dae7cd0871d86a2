#pragma once

// Where the build put things; tests use these instead of guessing.
namespace testpaths {

const char* pluginPath(); // the built Grelmond.so
const char* pluginDir();  // its folder, which also holds the data files
const char* sourceDir();
const char* binDir();     // the tools

} // namespace testpaths
