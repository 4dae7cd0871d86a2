#include "formats/vst2/PluginBase.h"

#include "engine/RoundToNearest.h"
#include "formats/vst2/EditorBase.h"
#include "core/NumberText.h"
#include "formats/vst2/TextCopy.h"

#include <cstring>

namespace grelmond {

using namespace vst;

namespace {

PluginBase* pluginOf(AEffect* effect)
{
    return effect != nullptr ? static_cast<PluginBase*>(effect->object) : nullptr;
}

} // namespace

PluginBase::PluginBase(AudioMasterCallback hostCallback, VstInt32 numPrograms, VstInt32 numParams)
    : hostCallback_(hostCallback), numPrograms_(numPrograms), numParams_(numParams)
{
    std::memset(&effect_, 0, sizeof effect_);
    effect_.magic = kEffectMagic;
    effect_.dispatcher = &PluginBase::dispatchEntry;
    effect_.process = &PluginBase::processEntry;
    effect_.setParameter = &PluginBase::setParameterEntry;
    effect_.getParameter = &PluginBase::getParameterEntry;
    effect_.processReplacing = &PluginBase::processReplacingEntry;
    effect_.numPrograms = numPrograms;
    effect_.numParams = numParams;
    effect_.numInputs = 1;
    effect_.numOutputs = 2;
    effect_.flags = 0;
    effect_.ioRatio = 1.0f;
    effect_.object = this;
    effect_.user = nullptr;
    effect_.uniqueID = fourCC('N', 'o', 'E', 'f');
    effect_.version = 1;
}

PluginBase::~PluginBase()
{
    delete editor_;
}

void PluginBase::setEditor(EditorBase* editor)
{
    editor_ = editor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void PluginBase::setFlag(VstInt32 flag, bool state)
{
    if (state)
        effect_.flags |= flag;
    else
        effect_.flags &= ~flag;
}

VstIntPtr PluginBase::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return hostCallback_ != nullptr ? hostCallback_(&effect_, opcode, index, value, ptr, opt) : 0;
}

void PluginBase::setParameterAutomated(VstInt32 index, float value)
{
    setParameter(index, value);
    // Hosts index their own parameter arrays with this number: indices beyond
    // the declared parameters (the editor's command tags) stay inside.
    if (isHostParameter(index))
        callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void PluginBase::getProgramName(char* name) { copyText(name, "", kVstMaxProgNameLen); }
void PluginBase::getParameterLabel(VstInt32, char* label) { copyText(label, "", kVstMaxParamStrLen + 1); }
void PluginBase::getParameterDisplay(VstInt32, char* text) { copyText(text, "", kVstMaxParamStrLen + 1); }
void PluginBase::getParameterName(VstInt32, char* text) { copyText(text, "", kVstMaxParamStrLen + 1); }

VstInt32 PluginBase::getMasterVersion()
{
    const VstIntPtr version = callHost(audioMasterVersion);
    return version != 0 ? static_cast<VstInt32>(version) : 1;
}

VstInt32 PluginBase::getCurrentUniqueId()
{
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void PluginBase::masterIdle()
{
    callHost(audioMasterIdle);
}

// The host answers 0 for a connected pin.
bool PluginBase::isInputConnected(VstInt32 input)
{
    return hostCallback_ != nullptr && callHost(audioMasterPinConnected, input, 0) == 0;
}

bool PluginBase::isOutputConnected(VstInt32 output)
{
    return hostCallback_ != nullptr && callHost(audioMasterPinConnected, output, 1) == 0;
}

void PluginBase::dB2string(float value, char* text) { grelmond::dB2string(value, text); }
void PluginBase::Hz2string(float samples, char* text) { grelmond::Hz2string(samples, sampleRate_, text); }
void PluginBase::ms2string(float samples, char* text) { grelmond::ms2string(samples, sampleRate_, text); }
void PluginBase::float2string(float value, char* text) { grelmond::float2string(value, text); }
void PluginBase::long2string(VstInt32 value, char* text) { grelmond::long2string(value, text); }

VstIntPtr PluginBase::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    // Text and record opcodes with no buffer answer 0 and write nothing.
    switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
        if (ptr == nullptr)
            return 0;
        break;
    default:
        break;
    }

    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms_)
            setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effGetVu:
        return static_cast<VstIntPtr>(getVu() * 32767.0f);
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value != 0)
            resume();
        else
            suspend();
        return 0;
    case effEditGetRect:
        return editor_ != nullptr ? editor_->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
        return editor_ != nullptr ? editor_->open(ptr) : 0;
    case effEditClose:
        if (editor_ != nullptr)
            editor_->close();
        return 0;
    case effEditIdle:
        if (editor_ != nullptr)
            editor_->idle();
        return 0;
    case effIdentify:
        return fourCC('N', 'v', 'E', 'f');
    case effGetChunk:
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        return 0;
    }
}

VstIntPtr PluginBase::dispatchEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                    float opt)
{
    PluginBase* plugin = pluginOf(effect);
    if (plugin == nullptr)
        return 0;
    const RoundToNearest rounding;
    const VstIntPtr result = plugin->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        delete plugin;
        return 1;
    }
    return result;
}

void PluginBase::processEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    if (PluginBase* plugin = pluginOf(effect))
        plugin->process(inputs, outputs, frames);
}

void PluginBase::processReplacingEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    if (PluginBase* plugin = pluginOf(effect))
        plugin->processReplacing(inputs, outputs, frames);
}

void PluginBase::setParameterEntry(AEffect* effect, VstInt32 index, float value)
{
    const RoundToNearest rounding;
    if (PluginBase* plugin = pluginOf(effect))
        plugin->setParameter(index, value);
}

float PluginBase::getParameterEntry(AEffect* effect, VstInt32 index)
{
    const RoundToNearest rounding;
    PluginBase* plugin = pluginOf(effect);
    return plugin != nullptr ? plugin->getParameter(index) : 0.0f;
}

} // namespace grelmond
