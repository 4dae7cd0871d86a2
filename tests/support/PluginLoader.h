#pragma once

// Loads the built plug-in the way a host does (dlopen, entry point, AEffect)
// and drives it through a scripted host callback that records every call.

#include "PluginInstance.h"
#include "ScriptedHost.h"

#include <memory>
#include <string>

namespace testsupport {

using EntryPoint = vst::AEffect* (*)(vst::AudioMasterCallback);

class PluginLoader {
public:
    enum class Entry { VstPluginMain, Main };

    // The built Grelmond.so unless another path is given.
    explicit PluginLoader(const std::string& path = {});
    ~PluginLoader();
    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }
    EntryPoint vstPluginMain() const { return vstPluginMain_; }
    EntryPoint mainEntry() const { return main_; }

    // Calls the entry point with `host` as the callback, or with a null
    // callback when `host` is null. Returns null when the plug-in refused.
    std::unique_ptr<PluginInstance> create(ScriptedHost* host, Entry entry = Entry::VstPluginMain);

private:
    void* handle_ = nullptr;
    EntryPoint vstPluginMain_ = nullptr;
    EntryPoint main_ = nullptr;
    std::string error_;
};

} // namespace testsupport
