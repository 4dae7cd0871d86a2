#pragma once

#include "ScriptedHost.h"

#include <string>

namespace testsupport {

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

} // namespace testsupport
