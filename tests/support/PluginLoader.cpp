#include "PluginLoader.h"

#include "TestPaths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace testsupport {

using namespace vst;

namespace {

#ifdef _WIN32
void* openLibrary(const std::string& file, std::string& error)
{
    HMODULE module = LoadLibraryA(file.c_str());
    if (module == nullptr)
        error = "cannot load " + file + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
}
EntryPoint findEntry(void* library, const char* name)
{
    return reinterpret_cast<EntryPoint>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void closeLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
#else
void* openLibrary(const std::string& file, std::string& error)
{
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        error = dlerror();
    return library;
}
EntryPoint findEntry(void* library, const char* name) { return reinterpret_cast<EntryPoint>(dlsym(library, name)); }
void closeLibrary(void* library) { dlclose(library); }
#endif

} // namespace

PluginLoader::PluginLoader(const std::string& path)
{
    const std::string file = path.empty() ? std::string(testpaths::pluginPath()) : path;
    handle_ = openLibrary(file, error_);
    if (handle_ == nullptr)
        return;
    vstPluginMain_ = findEntry(handle_, "VSTPluginMain");
    main_ = findEntry(handle_, "main");
    if (vstPluginMain_ == nullptr || main_ == nullptr)
        error_ = "entry point missing";
}

PluginLoader::~PluginLoader()
{
    if (handle_ != nullptr)
        closeLibrary(handle_);
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
