#pragma once

// Loads the built plug-in the way a host does (dlopen, entry point, AEffect)
// and drives it through a scripted host callback that records every call.

#include "shell/VstAbi.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

using EntryPoint = vst::AEffect* (*)(vst::AudioMasterCallback);

struct HostCall {
    vst::VstInt32 opcode;
    vst::VstInt32 index;
    vst::VstIntPtr value;
    float opt;
    bool hadEffect; // false when the plug-in called before it had an AEffect
};

// The host side. Answers the usual queries; `handler`, when set, is asked first
// and its non-empty answer wins.
class ScriptedHost {
public:
    vst::VstIntPtr versionAnswer = 2400;
    vst::VstTimeInfo* timeInfo = nullptr; // answer to audioMasterGetTime
    std::function<bool(const HostCall&, void* ptr, vst::VstIntPtr& answer)> handler;

    std::vector<HostCall> calls;
    int count(vst::VstInt32 opcode) const;
    void clear() { calls.clear(); }

    vst::VstIntPtr answer(vst::AEffect* effect, const HostCall& call, void* ptr);
};

// One plug-in instance; effClose on destruction unless already closed.
class PluginInstance {
public:
    PluginInstance(vst::AEffect* effect, ScriptedHost* host);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    vst::AEffect* effect() const { return effect_; }
    vst::VstIntPtr dispatch(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f);
    vst::VstIntPtr close(); // effClose; the instance is gone afterwards

    // Text queries with a generous buffer, as many hosts pass.
    std::string text(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0);
    std::string programName(); // of the current program
    std::string parameterName(int index) { return text(vst::effGetParamName, index); }
    std::string parameterLabel(int index) { return text(vst::effGetParamLabel, index); }
    std::string parameterDisplay(int index) { return text(vst::effGetParamDisplay, index); }
    vst::VstIntPtr canDo(const char* what);

    void setParameter(int index, float value) { effect_->setParameter(effect_, index, value); }
    float getParameter(int index) { return effect_->getParameter(effect_, index); }

private:
    vst::AEffect* effect_;
    ScriptedHost* host_;
};

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
