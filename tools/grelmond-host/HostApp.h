#pragma once

// The command line of grelmond-host: parses the options, loads the plug-in
// and runs the chosen command. New commands add a field to HostOptions, a
// case in parse() and a run function.

#include "LoadedPlugin.h"
#include "RenderCommand.h"

#include <string>
#include <vector>

namespace host {

struct HostOptions {
    enum class Command { None, Info, Render, Editor };
    Command command = Command::None;
    std::string pluginPath;
    float sampleRate = 44100.0f;
    int blockSize = 512;
    int editorCycles = 0; // 0: the editor stays open until its window is closed
    RenderRequest render;
};

class HostApp {
public:
    // Returns the process exit code: 0 success, 1 failure, 2 usage error.
    int run(const std::vector<std::string>& args);

    // Fills `options`; on a usage error returns false with `error` set.
    static bool parse(const std::vector<std::string>& args, HostOptions& options, std::string& error);
    static void printUsage();

private:
    int runInfo(const HostOptions& options);
    int runVst3Info(const HostOptions& options);
    void printIdentity(const LoadedPlugin& plugin, const HostOptions& options);
    void printPins(const LoadedPlugin& plugin);
    void printPrograms(const LoadedPlugin& plugin);
    void printParameters(const LoadedPlugin& plugin);

    bool textTooLong_ = false; // set when the plug-in wrote past an interface limit
};

} // namespace host
