#pragma once

#include <string>

namespace host {

// Opens the plug-in's editor in a top-level X window, as a host does
// (effEditOpen with the window id, effEditIdle every 40 ms), until the user
// closes the window. Returns the process exit code.
int runEditorWindow(const std::string& pluginPath, float sampleRate, int blockSize);

} // namespace host
