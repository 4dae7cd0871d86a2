#include "PluginLoader.h"

#include "TestPaths.h"

#include <dlfcn.h>

namespace testsupport {

using namespace vst;

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
    setConstructingHost(host);
    AEffect* effect = entryPoint(host != nullptr ? &scriptedHostCallback : nullptr);
    setConstructingHost(nullptr);
    if (effect == nullptr)
        return nullptr;
    return std::make_unique<PluginInstance>(effect, host);
}

} // namespace testsupport
