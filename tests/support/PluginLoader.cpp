#include "PluginLoader.h"

#include "TestPaths.h"

#include <dlfcn.h>

#include <cstring>
#include <map>

namespace testsupport {

using namespace vst;

namespace {

// The host callback carries no user pointer: instances are found by their
// AEffect, and calls made before the entry point returned go to the host
// that is creating an instance.
std::map<AEffect*, ScriptedHost*>& hostsByEffect()
{
    static std::map<AEffect*, ScriptedHost*> hosts;
    return hosts;
}

ScriptedHost* constructingHost = nullptr;

VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    ScriptedHost* host = constructingHost;
    if (auto it = hostsByEffect().find(effect); it != hostsByEffect().end())
        host = it->second;
    if (host == nullptr)
        return 0;
    const HostCall call{opcode, index, value, opt, effect != nullptr};
    host->calls.push_back(call);
    return host->answer(effect, call, ptr);
}

} // namespace

int ScriptedHost::count(VstInt32 opcode) const
{
    int n = 0;
    for (const HostCall& call : calls)
        n += call.opcode == opcode ? 1 : 0;
    return n;
}

VstIntPtr ScriptedHost::answer(AEffect* effect, const HostCall& call, void* ptr)
{
    VstIntPtr result = 0;
    if (handler && handler(call, ptr, result))
        return result;
    switch (call.opcode) {
    case audioMasterVersion:
        return versionAnswer;
    case audioMasterWantMidi:
        return 1;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(timeInfo);
    case audioMasterGetSampleRate:
        return 44100;
    case audioMasterGetBlockSize:
        return 512;
    default:
        return 0;
    }
}

PluginInstance::PluginInstance(AEffect* effect, ScriptedHost* host) : effect_(effect), host_(host)
{
    if (host_ != nullptr)
        hostsByEffect()[effect_] = host_;
}

PluginInstance::~PluginInstance()
{
    if (effect_ != nullptr)
        close();
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

VstIntPtr PluginInstance::close()
{
    const VstIntPtr result = dispatch(effClose);
    hostsByEffect().erase(effect_);
    effect_ = nullptr;
    return result;
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, VstIntPtr value)
{
    char buffer[256];
    std::memset(buffer, 0, sizeof buffer);
    dispatch(opcode, index, value, buffer);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

std::string PluginInstance::programName()
{
    return text(effGetProgramName);
}

VstIntPtr PluginInstance::canDo(const char* what)
{
    std::string copy = what;
    return dispatch(effCanDo, 0, 0, copy.data());
}

PluginLoader::PluginLoader(const std::string& path)
{
    const std::string file = path.empty() ? std::string(testpaths::pluginPath()) : path;
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error_ = dlerror();
        return;
    }
    vstPluginMain_ = reinterpret_cast<EntryPoint>(dlsym(handle_, "VSTPluginMain"));
    main_ = reinterpret_cast<EntryPoint>(dlsym(handle_, "main"));
    if (vstPluginMain_ == nullptr || main_ == nullptr)
        error_ = "entry point missing";
}

PluginLoader::~PluginLoader()
{
    if (handle_ != nullptr)
        dlclose(handle_);
}

std::unique_ptr<PluginInstance> PluginLoader::create(ScriptedHost* host, Entry entry)
{
    EntryPoint entryPoint = entry == Entry::Main ? main_ : vstPluginMain_;
    if (entryPoint == nullptr)
        return nullptr;
    constructingHost = host;
    AEffect* effect = entryPoint(host != nullptr ? &hostCallback : nullptr);
    constructingHost = nullptr;
    if (effect == nullptr)
        return nullptr;
    return std::make_unique<PluginInstance>(effect, host);
}

} // namespace testsupport
