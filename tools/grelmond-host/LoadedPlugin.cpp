#include "LoadedPlugin.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstring>
#include <map>

namespace host {

using namespace vst;

namespace {

using EntryPoint = AEffect* (*)(AudioMasterCallback);

constexpr VstIntPtr kHostVersion = 2400;

// The callback has no user pointer: plug-ins are found by their AEffect, and
// calls made while an entry point runs go to the plug-in being created.
std::map<AEffect*, LoadedPlugin*>& pluginsByEffect()
{
    static std::map<AEffect*, LoadedPlugin*> plugins;
    return plugins;
}

LoadedPlugin* loading = nullptr;

} // namespace

LoadedPlugin::~LoadedPlugin()
{
    unload();
}

VstIntPtr LoadedPlugin::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                     float opt)
{
    LoadedPlugin* plugin = loading;
    if (auto it = pluginsByEffect().find(effect); it != pluginsByEffect().end())
        plugin = it->second;
    if (plugin == nullptr)
        return opcode == audioMasterVersion ? kHostVersion : 0;
    return plugin->answer(opcode, index, value, ptr, opt);
}

std::pair<int, int> LoadedPlugin::takeWindowSizeRequest() { return std::exchange(sizeRequest_, {0, 0}); }

VstIntPtr LoadedPlugin::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (opcode) {
    case audioMasterVersion:
        return kHostVersion;
    case audioMasterCurrentId:
        return effect_ != nullptr ? effect_->uniqueID : 0;
    case audioMasterWantMidi:
        ++wantMidiCalls_;
        return 1;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(timeInfo_);
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(sampleRate_);
    case audioMasterGetBlockSize:
        return blockSize_;
    case audioMasterGetCurrentProcessLevel:
        return 0; // not known
    case audioMasterGetAutomationState:
        return 1; // off
    case audioMasterGetVendorString:
        if (ptr != nullptr)
            std::strcpy(static_cast<char*>(ptr), "Grelmond");
        return ptr != nullptr ? 1 : 0;
    case audioMasterGetProductString:
        if (ptr != nullptr)
            std::strcpy(static_cast<char*>(ptr), "grelmond-host");
        return ptr != nullptr ? 1 : 0;
    case audioMasterGetVendorVersion:
        return 1;
    case audioMasterCanDo: {
        const char* what = static_cast<const char*>(ptr);
        if (what == nullptr)
            return 0;
        for (const char* yes : {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "sizeWindow"})
            if (std::strcmp(what, yes) == 0)
                return 1;
        return 0;
    }
    case audioMasterSizeWindow:
        if (index <= 0 || value <= 0 || index > 16384 || value > 16384)
            return 0;
        sizeRequest_ = {int(index), int(value)};
        return 1;
    case audioMasterAutomate:
    case audioMasterIdle:
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
    case audioMasterUpdateDisplay:
        return 1;
    default:
        return 0;
    }
}

namespace {

#ifdef _WIN32
void* openLibrary(const std::string& path, std::string& error)
{
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr)
        error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
}
void* findSymbol(void* library, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void closeLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
#else
void* openLibrary(const std::string& path, std::string& error)
{
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "cannot load " + path;
    }
    return library;
}
void* findSymbol(void* library, const char* name) { return dlsym(library, name); }
void closeLibrary(void* library) { dlclose(library); }
#endif

} // namespace

bool LoadedPlugin::load(const std::string& path, float sampleRate, VstInt32 blockSize)
{
    unload();
    sampleRate_ = sampleRate;
    blockSize_ = blockSize;
    library_ = openLibrary(path, error_);
    if (library_ == nullptr)
        return false;
    auto entry = reinterpret_cast<EntryPoint>(findSymbol(library_, "VSTPluginMain"));
    entryName_ = "VSTPluginMain";
    if (entry == nullptr) {
        entry = reinterpret_cast<EntryPoint>(findSymbol(library_, "main"));
        entryName_ = "main";
    }
    if (entry == nullptr) {
        error_ = path + " exports neither VSTPluginMain nor main";
        unload();
        return false;
    }

    loading = this;
    AEffect* effect = entry(&LoadedPlugin::hostCallback);
    loading = nullptr;
    if (effect == nullptr || effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
        error_ = effect == nullptr ? "the plug-in refused to create an instance" : "not a VST 2 plug-in record";
        unload();
        return false;
    }
    effect_ = effect;
    pluginsByEffect()[effect_] = this;

    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate_);
    dispatch(effSetBlockSize, 0, blockSize_);
    return true;
}

void LoadedPlugin::unload()
{
    if (effect_ != nullptr) {
        dispatch(effClose);
        pluginsByEffect().erase(effect_);
        effect_ = nullptr;
    }
    if (library_ != nullptr) {
        closeLibrary(library_);
        library_ = nullptr;
    }
}

VstIntPtr LoadedPlugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
    return effect_ != nullptr ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

std::string LoadedPlugin::text(VstInt32 opcode, VstInt32 index, std::size_t limit, bool* overflow,
                               VstIntPtr value) const
{
    // A roomy buffer, as many hosts pass, so an overlong text is seen rather than
    // corrupting memory; then cut at the interface's limit.
    char buffer[512];
    std::memset(buffer, 0, sizeof buffer);
    dispatch(opcode, index, value, buffer);
    buffer[sizeof buffer - 1] = '\0';
    std::string result = buffer;
    if (overflow != nullptr)
        *overflow = result.size() > limit;
    if (result.size() > limit)
        result.resize(limit);
    return result;
}

std::string LoadedPlugin::programName(VstInt32 program) const
{
    constexpr std::size_t limit = kVstMaxProgNameLen - 1;
    char buffer[512];
    std::memset(buffer, 0, sizeof buffer);
    if (dispatch(effGetProgramNameIndexed, program, -1, buffer) != 0) {
        buffer[limit] = '\0';
        return buffer;
    }
    // No indexed names: select the program, ask, and go back.
    const VstIntPtr current = dispatch(effGetProgram);
    dispatch(effSetProgram, 0, program);
    std::string name = text(effGetProgramName, 0, limit);
    dispatch(effSetProgram, 0, current);
    return name;
}

} // namespace host
