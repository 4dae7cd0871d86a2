#include "Lv2RenderCommand.h"

#include "Lv2Renderer.h"

#include <cstdio>
#include <filesystem>

namespace host {

namespace {

bool prepareScore(const RenderRequest& request, Score& score, std::string& error)
{
    if (!request.midiPath.empty() && !score.loadMidiFile(request.midiPath, error))
        return false;
    return score.addNotes(request.notes, error) &&
           (request.saveMidiPath.empty() || score.saveMidiFile(request.saveMidiPath, error));
}

// The program selection and parameters, before the first block.
void applyStartSettings(Lv2Plugin& plugin, const RenderRequest& request)
{
    if (request.program >= 0) {
        const unsigned char change[2] = {0xC0, static_cast<unsigned char>(request.program & 0x7F)};
        plugin.events().addMidi(0, change, 2);
        plugin.run(0);
    }
    for (const auto& [index, value] : request.params)
        plugin.setPort(index, value);
}

} // namespace

bool Lv2RenderCommand::accepts(const std::string& pluginPath)
{
    std::string path = pluginPath;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::error_code ignored;
    return path.ends_with(".lv2") && std::filesystem::is_directory(path, ignored);
}

int Lv2RenderCommand::run(const std::string& bundle, RenderRequest request)
{
    Score score;
    std::string error;
    if (!prepareScore(request, score, error)) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }
    const RenderOptions& options = request.options;
    Lv2Plugin plugin;
    if (!plugin.load(bundle, options.sampleRate, options.blockSize)) {
        std::fprintf(stderr, "grelmond-host: %s\n", plugin.error().c_str());
        return 1;
    }
    applyStartSettings(plugin, request);

    WavWriter wav;
    const bool writing = !request.outPath.empty();
    if (writing && !wav.open(request.outPath, static_cast<int>(options.sampleRate), request.format, error)) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }
    Lv2Renderer renderer(plugin, options);
    RenderResult result;
    const BlockRenderer::Sink sink = [&](const float* l, const float* r, int n) { return wav.write(l, r, n); };
    const bool ok = renderer.run(score, writing ? sink : BlockRenderer::Sink{}, result, error);
    if (!ok || !wav.close()) {
        std::fprintf(stderr, "grelmond-host: %s\n", ok ? "cannot finish the output file" : error.c_str());
        return 1;
    }
    if (writing)
        std::printf("Wrote          %s (%.3f s, %.0f Hz)\n", request.outPath.c_str(),
                    static_cast<double>(result.frames) / options.sampleRate, options.sampleRate);
    std::printf("Left           %s\n", result.left.summary().c_str());
    std::printf("Right          %s\n", result.right.summary().c_str());
    const bool clean =
        result.left.nans() + result.left.infinities() + result.right.nans() + result.right.infinities() == 0;
    return clean ? 0 : 1;
}

} // namespace host
