#include "TestPaths.h"

namespace testpaths {

const char* pluginPath() { return GRELMOND_PLUGIN_PATH; }
const char* pluginDir() { return GRELMOND_PLUGIN_DIR; }
const char* sourceDir() { return GRELMOND_SOURCE_DIR; }
const char* binDir() { return GRELMOND_BIN_DIR; }

} // namespace testpaths
