#include "PluginInstance.h"

#include <cstring>

namespace testsupport {

using namespace vst;

PluginInstance::PluginInstance(AEffect* effect, ScriptedHost* host) : effect_(effect), host_(host)
{
    if (host_ != nullptr)
        registerHost(effect_, host_);
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
    unregisterHost(effect_);
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

} // namespace testsupport
