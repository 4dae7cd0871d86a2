#pragma once

// The render command of grelmond-host: plays a score through a loaded
// instrument into a WAV file and/or measures how fast it runs.

#include "BlockRenderer.h"
#include "WavWriter.h"

#include <string>
#include <utility>
#include <vector>

namespace host {

struct RenderRequest {
    bool active = false;  // --render or --bench given
    std::string outPath;  // empty: no file
    WavWriter::Format format = WavWriter::Format::Float32;
    std::string midiPath;
    std::string notes;
    std::string saveMidiPath;
    int program = -1;
    std::vector<std::pair<int, float>> params;
    std::vector<AutomationPoint> automation;
    std::string loadStatePath; // applied before --program and --param
    std::string saveStatePath; // written after the render
    bool bench = false;
    RenderOptions options;
};

class RenderCommand {
public:
    // Consumes args[i] (and its value) when it is a render option; false when
    // it is not one. A bad value sets `error`.
    static bool parseOption(const std::vector<std::string>& args, std::size_t& i, RenderRequest& request,
                            std::string& error);
    static const char* usage();

    // Exit code: 0 success, 1 failure.
    static int run(const std::string& pluginPath, RenderRequest request);
};

} // namespace host
