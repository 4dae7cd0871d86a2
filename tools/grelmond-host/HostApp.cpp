#include "HostApp.h"

#include "EditorWindow.h"
#include "Vst3Plugin.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace host {

using namespace vst;

namespace {

bool parseNumber(const std::string& text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0';
}

std::string fourChars(VstInt32 id)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((id >> shift) & 0xff);
        s += (c >= 32 && c < 127) ? c : '.';
    }
    return s;
}

std::string flagNames(VstInt32 flags)
{
    static const std::pair<VstInt32, const char*> names[] = {
        {effFlagsHasEditor, "HasEditor"},       {effFlagsHasClip, "HasClip"},
        {effFlagsHasVu, "HasVu"},               {effFlagsCanMono, "CanMono"},
        {effFlagsCanReplacing, "CanReplacing"}, {effFlagsProgramChunks, "ProgramChunks"},
        {effFlagsIsSynth, "IsSynth"},           {effFlagsNoSoundInStop, "NoSoundInStop"},
        {effFlagsExtIsAsync, "ExtIsAsync"},     {effFlagsExtHasBuffer, "ExtHasBuffer"},
    };
    std::string s;
    for (const auto& [bit, name] : names)
        if ((flags & bit) != 0)
            s += std::string(s.empty() ? "" : " ") + name;
    return s;
}

} // namespace

void HostApp::printUsage()
{
    std::puts("usage: grelmond-host [options] --info PLUGIN.so|PLUGIN.vst3\n"
              "       grelmond-host [options] --render OUT.wav|--bench PLUGIN.so\n"
              "       grelmond-host [options] --editor PLUGIN.so|PLUGIN.vst3\n"
              "       grelmond-host [options] --editor-cycles N PLUGIN.so|PLUGIN.vst3\n"
              "  --info PLUGIN.so   load any VST 2 instrument (or VST 3 bundle) and print what a host reads from it:\n"
              "                     identity, flags, outputs, program names and every parameter\n"
              "  --editor PLUGIN.so open the plug-in's editor in a window until it is closed\n"
              "  --editor-cycles N  open the editor, run it half a second and close it, N times\n"
              "  --rate HZ          sample rate given to the plug-in (default 44100)\n"
              "  --block FRAMES     block size given to the plug-in (default 512)");
    std::fputs(RenderCommand::usage(), stdout);
}

bool HostApp::parse(const std::vector<std::string>& args, HostOptions& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        double number = 0.0;
        if (arg == "--info" && hasValue) {
            options.command = HostOptions::Command::Info;
            options.pluginPath = args[++i];
        } else if (arg == "--editor" && hasValue) {
            options.command = HostOptions::Command::Editor;
            options.pluginPath = args[++i];
        } else if (arg == "--editor-cycles" && hasValue) {
            if (!parseNumber(args[++i], number) || number < 1.0 || number > 1000.0 || number != int(number)) {
                error = "--editor-cycles wants a whole number from 1 to 1000";
                return false;
            }
            options.command = HostOptions::Command::Editor;
            options.editorCycles = static_cast<int>(number);
        } else if (arg == "--rate" && hasValue) {
            if (!parseNumber(args[++i], number) || number < 8000.0 || number > 384000.0) {
                error = "--rate wants a sample rate from 8000 to 384000";
                return false;
            }
            options.sampleRate = static_cast<float>(number);
        } else if (arg == "--block" && hasValue) {
            if (!parseNumber(args[++i], number) || number < 1.0 || number > 65536.0) {
                error = "--block wants a block size from 1 to 65536";
                return false;
            }
            options.blockSize = static_cast<int>(number);
        } else if (RenderCommand::parseOption(args, i, options.render, error)) {
            if (!error.empty())
                return false;
        } else if (arg.rfind("--", 0) != 0 && options.pluginPath.empty()) {
            options.pluginPath = arg;
        } else {
            error = "unknown or incomplete option: " + arg;
            return false;
        }
    }
    if (options.command == HostOptions::Command::Editor && options.pluginPath.empty()) {
        error = "which plug-in? give PLUGIN.so or PLUGIN.vst3 as the last argument";
        return false;
    }
    if (options.command == HostOptions::Command::None && options.render.active) {
        if (options.pluginPath.empty()) {
            error = "which plug-in? give PLUGIN.so as the last argument";
            return false;
        }
        options.command = HostOptions::Command::Render;
    }
    if (options.command == HostOptions::Command::None) {
        error = "nothing to do";
        return false;
    }
    return true;
}

int HostApp::run(const std::vector<std::string>& args)
{
    HostOptions options;
    std::string error;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        printUsage();
        return 0;
    }
    if (!parse(args, options, error)) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        printUsage();
        return 2;
    }
    switch (options.command) {
    case HostOptions::Command::Info:
        return runInfo(options);
    case HostOptions::Command::Render: {
        RenderRequest request = options.render;
        request.options.sampleRate = options.sampleRate;
        request.options.blockSize = options.blockSize;
        return RenderCommand::run(options.pluginPath, request);
    }
    case HostOptions::Command::Editor:
        return runEditorWindow(options.pluginPath, options.sampleRate, options.blockSize, options.editorCycles);
    case HostOptions::Command::None:
        break;
    }
    return 2;
}

int HostApp::runInfo(const HostOptions& options)
{
    if (isVst3Path(options.pluginPath))
        return runVst3Info(options);
    LoadedPlugin plugin;
    if (!plugin.load(options.pluginPath, options.sampleRate, options.blockSize)) {
        std::fprintf(stderr, "grelmond-host: %s\n", plugin.error().c_str());
        return 1;
    }
    printIdentity(plugin, options);
    printPins(plugin);
    printPrograms(plugin);
    printParameters(plugin);
    plugin.unload();
    if (textTooLong_) {
        std::fprintf(stderr, "grelmond-host: the plug-in wrote texts longer than the interface allows\n");
        return 1;
    }
    return 0;
}

int HostApp::runVst3Info(const HostOptions& options)
{
    Vst3Plugin plugin;
    std::string error;
    if (!plugin.load(options.pluginPath, options.sampleRate, options.blockSize, error)) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }
    std::printf("Plug-in        %s\n", options.pluginPath.c_str());
    if (!plugin.describe(stdout)) {
        std::fprintf(stderr, "grelmond-host: the plug-in gave texts or values the interface does not allow\n");
        return 1;
    }
    return 0;
}

void HostApp::printIdentity(const LoadedPlugin& plugin, const HostOptions& options)
{
    const AEffect* e = plugin.effect();
    bool longText = false;
    const std::string name = plugin.text(effGetEffectName, 0, kVstMaxEffectNameLen - 1, &longText);
    textTooLong_ |= longText;
    const std::string vendor = plugin.text(effGetVendorString, 0, kVstMaxVendorStrLen - 1, &longText);
    textTooLong_ |= longText;
    const std::string product = plugin.text(effGetProductString, 0, kVstMaxProductStrLen - 1, &longText);
    textTooLong_ |= longText;

    std::printf("Plug-in        %s (entry %s, %.0f Hz, block %d)\n", options.pluginPath.c_str(),
                plugin.entryName().c_str(), options.sampleRate, options.blockSize);
    std::printf("Effect name    %s\n", name.c_str());
    std::printf("Vendor         %s\n", vendor.c_str());
    std::printf("Product        %s\n", product.c_str());
    std::printf("Vendor version %ld\n", static_cast<long>(plugin.dispatch(effGetVendorVersion)));
    std::printf("Unique id      '%s' (%d)\n", fourChars(e->uniqueID).c_str(), e->uniqueID);
    std::printf("Version        %d\n", e->version);
    std::printf("VST version    %ld\n", static_cast<long>(plugin.dispatch(effGetVstVersion)));
    std::printf("Category       %ld\n", static_cast<long>(plugin.dispatch(effGetPlugCategory)));
    std::printf("Flags          %d (%s)\n", e->flags, flagNames(e->flags).c_str());
    std::printf("Programs %d, parameters %d, inputs %d, outputs %d, initial delay %d\n", e->numPrograms,
                e->numParams, e->numInputs, e->numOutputs, e->initialDelay);

    ERect* rect = nullptr;
    if ((e->flags & effFlagsHasEditor) != 0 && plugin.dispatch(effEditGetRect, 0, 0, &rect) != 0 && rect != nullptr)
        std::printf("Editor         %d x %d\n", rect->right - rect->left, rect->bottom - rect->top);
    for (const char* what : {"receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents"}) {
        std::string copy = what;
        std::printf("canDo %-20s %ld\n", what, static_cast<long>(plugin.dispatch(effCanDo, 0, 0, copy.data())));
    }
}

void HostApp::printPins(const LoadedPlugin& plugin)
{
    for (VstInt32 pin = 0; pin < plugin.effect()->numOutputs; ++pin) {
        VstPinProperties properties;
        std::memset(&properties, 0, sizeof properties);
        if (plugin.dispatch(effGetOutputProperties, pin, 0, &properties) == 0)
            continue;
        properties.label[sizeof properties.label - 1] = '\0';
        properties.shortLabel[sizeof properties.shortLabel - 1] = '\0';
        std::printf("Output %d       \"%s\" (\"%s\"), flags %d\n", pin, properties.label, properties.shortLabel,
                    properties.flags);
    }
}

void HostApp::printPrograms(const LoadedPlugin& plugin)
{
    std::printf("\nPrograms\n");
    for (VstInt32 program = 0; program < plugin.effect()->numPrograms; ++program)
        std::printf("  %3d  %s\n", program, plugin.programName(program).c_str());
}

void HostApp::printParameters(const LoadedPlugin& plugin)
{
    std::printf("\nParameters (program %ld)\n", static_cast<long>(plugin.dispatch(effGetProgram)));
    std::printf("  %3s  %-8s  %-8s  %-8s  %s\n", "#", "name", "display", "label", "value");
    const AEffect* e = plugin.effect();
    for (VstInt32 index = 0; index < e->numParams; ++index) {
        bool longName = false, longDisplay = false, longLabel = false;
        const std::string name = plugin.text(effGetParamName, index, kVstMaxParamStrLen, &longName);
        const std::string display = plugin.text(effGetParamDisplay, index, kVstMaxParamStrLen, &longDisplay);
        const std::string label = plugin.text(effGetParamLabel, index, kVstMaxParamStrLen, &longLabel);
        textTooLong_ |= longName || longDisplay || longLabel;
        const float value = e->getParameter(const_cast<AEffect*>(e), index);
        std::printf("  %3d  %-8s  %-8s  %-8s  %.6f\n", index, name.c_str(), display.c_str(), label.c_str(), value);
    }
}

} // namespace host
