#pragma once

// One VST 2 plug-in loaded the way a host loads it: the shared object, its
// entry point, the AEffect record and this host's callback answers.

#include "formats/vst2/VstAbi.h"

#include <string>
#include <vector>

namespace host {

class LoadedPlugin {
public:
    LoadedPlugin() = default;
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    // dlopen, find VSTPluginMain (else main), create the instance, then open it
    // at the given rate and block size. On failure error() says why.
    bool load(const std::string& path, float sampleRate, vst::VstInt32 blockSize);
    // effClose and dlclose; safe to call twice.
    void unload();
    const std::string& error() const { return error_; }
    const std::string& entryName() const { return entryName_; }

    vst::AEffect* effect() const { return effect_; }
    vst::VstIntPtr dispatch(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f) const;

    // A text the plug-in writes for `opcode`, cut at `limit` characters (the
    // interface's limit); `overflow` is set when the plug-in wrote past it.
    std::string text(vst::VstInt32 opcode, vst::VstInt32 index, std::size_t limit, bool* overflow = nullptr,
                     vst::VstIntPtr value = 0) const;
    std::string programName(vst::VstInt32 program) const;

    // Mains on/off around processing, as hosts do.
    void resume() const { dispatch(vst::effMainsChanged, 0, 1); }
    void suspend() const { dispatch(vst::effMainsChanged, 0, 0); }

    float sampleRate() const { return sampleRate_; }
    vst::VstInt32 blockSize() const { return blockSize_; }

    // What this host answers when asked for time information (null: none).
    void setTimeInfo(vst::VstTimeInfo* info) { timeInfo_ = info; }
    // How often the plug-in asked for MIDI, for tools that check it.
    int wantMidiCalls() const { return wantMidiCalls_; }

private:
    static vst::VstIntPtr hostCallback(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                       vst::VstIntPtr value, void* ptr, float opt);
    vst::VstIntPtr answer(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);

    void* library_ = nullptr;
    vst::AEffect* effect_ = nullptr;
    std::string error_;
    std::string entryName_;
    float sampleRate_ = 44100.0f;
    vst::VstInt32 blockSize_ = 512;
    vst::VstTimeInfo* timeInfo_ = nullptr;
    int wantMidiCalls_ = 0;
};

} // namespace host
