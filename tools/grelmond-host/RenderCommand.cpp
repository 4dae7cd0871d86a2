#include "RenderCommand.h"

#include "Instrument.h"
#ifndef _WIN32
#include "Lv2RenderCommand.h"
#endif

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace host {

namespace {

bool number(const std::string& text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0' && std::isfinite(out);
}

bool parseParam(const std::string& text, std::pair<int, float>& out)
{
    const auto eq = text.find('=');
    double index = 0.0, value = 0.0;
    if (eq == std::string::npos || !number(text.substr(0, eq), index) || !number(text.substr(eq + 1), value))
        return false;
    if (index < 0 || index > 1000000 || index != std::floor(index))
        return false;
    out = {static_cast<int>(index), static_cast<float>(value)};
    return true;
}

// "time:index:value,..." with time in seconds.
bool parseAutomation(const std::string& list, std::vector<AutomationPoint>& out)
{
    std::stringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        const auto first = item.find(':');
        const auto second = first == std::string::npos ? first : item.find(':', first + 1);
        double seconds = 0.0;
        std::pair<int, float> p;
        if (second == std::string::npos || !number(item.substr(0, first), seconds) || seconds < 0 ||
            !parseParam(item.substr(first + 1, second - first - 1) + "=" + item.substr(second + 1), p))
            return false;
        out.push_back({seconds, p.first, p.second});
    }
    return !out.empty();
}

bool readFile(const std::string& path, std::vector<char>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFile(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

const char* RenderCommand::usage()
{
    return "  --render OUT.wav   render PLUGIN.so or an LV2 bundle folder (given last) into a stereo WAV file\n"
           "  --bench            render without writing and report the real-time factor\n"
           "  --midi FILE.mid    play a Standard MIDI File\n"
           "  --notes LIST       play \"time:note:velocity:duration,...\" (seconds)\n"
           "  --save-midi FILE   also write the score as a Standard MIDI File\n"
           "  --program N        select program N before playing\n"
           "  --param I=V        set parameter I to V (repeatable, after --program)\n"
           "  --automate LIST    set parameters while playing: \"time:index:value,...\" (seconds)\n"
           "  --load-state FILE  restore the instance from a saved state before playing\n"
           "  --save-state FILE  save the instance's state after playing\n"
           "  --tempo BPM        tempo the host reports (default 120; 0 reports no time information)\n"
           "  --seconds S        length of the render (default: the score plus 2 s)\n"
           "  --process MODE     replace (processReplacing, default) or accumulate (process)\n"
           "  --format F         float (32-bit, default) or 24 (24-bit integer)\n";
}

bool RenderCommand::parseOption(const std::vector<std::string>& args, std::size_t& i, RenderRequest& r,
                                std::string& error)
{
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    double v = 0.0;
    if (arg == "--bench") {
        r.active = r.bench = true;
        return true;
    }
    if (!hasValue)
        return false;
    const std::string& value = args[i + 1];
    if (arg == "--render") {
        r.active = true;
        r.outPath = value;
    } else if (arg == "--midi") {
        r.midiPath = value;
    } else if (arg == "--notes") {
        r.notes += (r.notes.empty() ? "" : ",") + value;
    } else if (arg == "--save-midi") {
        r.saveMidiPath = value;
    } else if (arg == "--program") {
        if (!number(value, v) || v < 0 || v > 1000000 || v != std::floor(v))
            error = "--program wants a program number";
        r.program = static_cast<int>(v);
    } else if (arg == "--param") {
        std::pair<int, float> p;
        if (!parseParam(value, p))
            error = "--param wants INDEX=VALUE";
        r.params.push_back(p);
    } else if (arg == "--automate") {
        if (!parseAutomation(value, r.automation))
            error = "--automate wants TIME:INDEX:VALUE,...";
    } else if (arg == "--load-state") {
        r.loadStatePath = value;
    } else if (arg == "--save-state") {
        r.saveStatePath = value;
    } else if (arg == "--tempo") {
        if (!number(value, v) || v < 0 || v > 1000)
            error = "--tempo wants beats per minute from 0 to 1000";
        r.options.tempo = v;
    } else if (arg == "--seconds") {
        if (!number(value, v) || v <= 0 || v > 86400)
            error = "--seconds wants a length from 0 to 86400";
        r.options.seconds = v;
    } else if (arg == "--process") {
        if (value != "replace" && value != "accumulate")
            error = "--process wants replace or accumulate";
        r.options.accumulate = value == "accumulate";
    } else if (arg == "--format") {
        if (value != "float" && value != "24")
            error = "--format wants float or 24";
        r.format = value == "24" ? WavWriter::Format::Pcm24 : WavWriter::Format::Float32;
    } else {
        return false;
    }
    ++i;
    return true;
}

int RenderCommand::run(const std::string& pluginPath, RenderRequest request)
{
#ifndef _WIN32
    if (Lv2RenderCommand::accepts(pluginPath))
        return Lv2RenderCommand::run(pluginPath, std::move(request));
#endif
    Score score;
    std::string error;
    if (!request.midiPath.empty() && !score.loadMidiFile(request.midiPath, error)) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }
    if (!score.addNotes(request.notes, error) ||
        (!request.saveMidiPath.empty() && !score.saveMidiFile(request.saveMidiPath, error))) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }

    RenderOptions& options = request.options;
    std::unique_ptr<Instrument> plugin =
        openInstrument(pluginPath, static_cast<float>(options.sampleRate), options.blockSize, error);
    if (plugin == nullptr) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }
    if (!request.loadStatePath.empty()) {
        std::vector<char> state;
        if (!readFile(request.loadStatePath, state)) {
            std::fprintf(stderr, "grelmond-host: cannot read %s\n", request.loadStatePath.c_str());
            return 1;
        }
        if (!plugin->loadState(state)) {
            std::fprintf(stderr, "grelmond-host: the plug-in refused the state in %s\n", request.loadStatePath.c_str());
            return 1;
        }
    }
    if (request.program >= 0)
        plugin->selectProgram(request.program);
    for (const auto& [index, value] : request.params)
        plugin->setParameter(index, value);
    std::stable_sort(request.automation.begin(), request.automation.end(),
                     [](const AutomationPoint& a, const AutomationPoint& b) { return a.seconds < b.seconds; });

    options.progress = isatty(STDERR_FILENO) != 0;
    BlockRenderer renderer(*plugin, options);

    WavWriter wav;
    const bool writing = !request.outPath.empty();
    if (writing && !wav.open(request.outPath, static_cast<int>(options.sampleRate), request.format, error)) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }
    plugin->startProcessing();
    RenderResult result;
    const BlockRenderer::Sink sink = [&](const float* l, const float* r, int n) { return wav.write(l, r, n); };
    const bool ok = renderer.run(score, request.automation, writing ? sink : BlockRenderer::Sink{}, result, error);
    plugin->stopProcessing();
    if (!request.saveStatePath.empty()) {
        std::vector<char> state;
        if (!plugin->saveState(state) || !writeFile(request.saveStatePath, state)) {
            std::fprintf(stderr, "grelmond-host: cannot save the state into %s\n", request.saveStatePath.c_str());
            return 1;
        }
    }
    plugin.reset();
    if (!ok || !wav.close()) {
        std::fprintf(stderr, "grelmond-host: %s\n", ok ? "cannot finish the output file" : error.c_str());
        return 1;
    }

    const double seconds = static_cast<double>(result.frames) / options.sampleRate;
    if (writing)
        std::printf("Wrote          %s (%.3f s, %.0f Hz, %s)\n", request.outPath.c_str(), seconds,
                    options.sampleRate, request.format == WavWriter::Format::Float32 ? "32-bit float" : "24-bit");
    std::printf("Left           %s\n", result.left.summary().c_str());
    std::printf("Right          %s\n", result.right.summary().c_str());
    if (request.bench) {
        std::printf("Frames         %lld\n", static_cast<long long>(result.frames));
        std::printf("CPU seconds    %.6f\n", result.cpuSeconds);
        std::printf("Real-time      %.1fx\n", result.cpuSeconds > 0.0 ? seconds / result.cpuSeconds : INFINITY);
    }
    const bool clean = result.left.nans() + result.left.infinities() + result.right.nans() +
                           result.right.infinities() == 0;
    return clean ? 0 : 1;
}

} // namespace host
