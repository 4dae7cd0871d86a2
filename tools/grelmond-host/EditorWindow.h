#pragma once

#include <string>

namespace host {

// Opens the plug-in's editor (a VST 2 editor or a VST 3 view) in a top-level
// native window, as a host does, until the user closes the window; or, with
// `cycles` above 0, opens it, runs it half a second and closes it that many
// times. Returns the process exit code.
int runEditorWindow(const std::string& pluginPath, float sampleRate, int blockSize, int cycles);

} // namespace host
