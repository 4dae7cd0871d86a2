#pragma once

// The render command for an LV2 bundle (a folder whose name ends in .lv2):
// the same options as for a VST 2 plug-in; --program sends a MIDI program
// change before the parameters are set, as the selection a VST 2 host makes.

#include "RenderCommand.h"

namespace host {

class Lv2RenderCommand {
public:
    static bool accepts(const std::string& pluginPath);
    // Exit code: 0 success, 1 failure.
    static int run(const std::string& bundle, RenderRequest request);
};

} // namespace host
