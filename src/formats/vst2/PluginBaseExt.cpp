#include "formats/vst2/PluginBaseExt.h"

#include "formats/vst2/EditorBase.h"

namespace grelmond {

using namespace vst;

PluginBaseExt::PluginBaseExt(AudioMasterCallback hostCallback, VstInt32 numPrograms, VstInt32 numParams)
    : PluginBase(hostCallback, numPrograms, numParams)
{
}

namespace {

// Opcodes whose ptr is a text or record the plug-in reads or fills.
bool needsBuffer(VstInt32 opcode)
{
    switch (opcode) {
    case effProcessEvents:
    case effString2Parameter:
    case effGetProgramNameIndexed:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effOfflineNotify:
    case effOfflinePrepare:
    case effOfflineRun:
    case effProcessVarIo:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
    case effGetParameterProperties:
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
    case effGetMidiKeyName:
        return true;
    default:
        return false;
    }
}

} // namespace

VstIntPtr PluginBaseExt::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (opcode < effProcessEvents || opcode > effEndSetProgram)
        return PluginBase::dispatcher(opcode, index, value, ptr, opt);
    if (ptr == nullptr && needsBuffer(opcode))
        return 0;

    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effProcessEvents:
        return processEvents(static_cast<VstEvents*>(ptr)) ? 1 : 0;
    case effCanBeAutomated:
        return canParameterBeAutomated(index) ? 1 : 0;
    case effString2Parameter:
        return string2parameter(index, text) ? 1 : 0;
    case effGetNumProgramCategories:
        return getNumCategories();
    case effGetProgramNameIndexed:
        return getProgramNameIndexed(static_cast<VstInt32>(value), index, text) ? 1 : 0;
    case effCopyProgram:
        return copyProgram(index) ? 1 : 0;
    case effConnectInput:
        inputConnected(index, value != 0);
        return 1;
    case effConnectOutput:
        outputConnected(index, value != 0);
        return 1;
    case effGetInputProperties:
        return getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetOutputProperties:
        return getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetCurrentPosition:
        return reportCurrentPosition();
    case effGetDestinationBuffer:
        return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
    case effOfflineNotify:
        return offlineNotify(ptr, static_cast<VstInt32>(value), index != 0) ? 1 : 0;
    case effOfflinePrepare:
        return offlinePrepare(ptr, static_cast<VstInt32>(value)) ? 1 : 0;
    case effOfflineRun:
        return offlineRun(ptr, static_cast<VstInt32>(value)) ? 1 : 0;
    case effProcessVarIo:
        return processVariableIo(ptr) ? 1 : 0;
    case effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<void*>(value), ptr) ? 1 : 0;
    case effSetBlockSizeAndSampleRate:
        setBlockSizeAndSampleRate(static_cast<VstInt32>(value), opt);
        return 1;
    case effSetBypass:
        return setBypass(value != 0) ? 1 : 0;
    case effGetEffectName:
        return getEffectName(text) ? 1 : 0;
    case effGetErrorText:
        return getErrorText(text) ? 1 : 0;
    case effGetVendorString:
        return getVendorString(text) ? 1 : 0;
    case effGetProductString:
        return getProductString(text) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return canDo(text);
    case effGetTailSize:
        return getGetTailSize();
    case effIdle:
        return fxIdle();
    case effGetIcon:
        return reinterpret_cast<VstIntPtr>(getIcon());
    case effSetViewPosition:
        return setViewPosition(index, static_cast<VstInt32>(value)) ? 1 : 0;
    case effGetParameterProperties:
        return getParameterProperties(index, ptr) ? 1 : 0;
    case effKeysRequired:
        return keysRequired() ? 0 : 1; // the host asks the inverse question
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp:
        return dispatchEditorKey(opcode, index, value, opt);
    case effSetEditKnobMode:
        return editor_ != nullptr ? editor_->setKnobMode(value) : 0;
    case effGetMidiProgramName:
        return getMidiProgramName(index, ptr);
    case effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, ptr);
    case effGetMidiProgramCategory:
        return getMidiProgramCategory(index, ptr);
    case effHasMidiProgramsChanged:
        return hasMidiProgramsChanged(index) ? 1 : 0;
    case effGetMidiKeyName:
        return getMidiKeyName(index, ptr) ? 1 : 0;
    case effBeginSetProgram:
        return beginSetProgram() ? 1 : 0;
    case effEndSetProgram:
        return endSetProgram() ? 1 : 0;
    default:
        return 0;
    }
}

VstIntPtr PluginBaseExt::dispatchEditorKey(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt)
{
    if (editor_ == nullptr)
        return 0;
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value);
    key.modifier = static_cast<unsigned char>(static_cast<int>(opt));
    return opcode == effEditKeyDown ? editor_->onKeyDown(key) : editor_->onKeyUp(key);
}

VstInt32 PluginBaseExt::getPlugCategory()
{
    return (effect_.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

void PluginBaseExt::setBlockSizeAndSampleRate(VstInt32 blockSize, float sampleRate)
{
    blockSize_ = blockSize;
    sampleRate_ = sampleRate;
}

// Host callback wrappers.

bool PluginBaseExt::wantEvents(VstInt32 filter)
{
    return callHost(audioMasterWantMidi, 0, filter) == 1;
}

VstTimeInfo* PluginBaseExt::getTimeInfo(VstInt32 filter)
{
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

VstInt32 PluginBaseExt::tempoAt(VstInt32 pos)
{
    return static_cast<VstInt32>(callHost(audioMasterTempoAt, 0, pos));
}

bool PluginBaseExt::sendVstEventsToHost(VstEvents* events)
{
    return events != nullptr && callHost(audioMasterProcessEvents, 0, 0, events) == 1;
}

VstInt32 PluginBaseExt::getNumAutomatableParameters()
{
    return static_cast<VstInt32>(callHost(audioMasterGetNumAutomatableParameters));
}

VstInt32 PluginBaseExt::getParameterQuantization()
{
    return static_cast<VstInt32>(callHost(audioMasterGetParameterQuantization));
}

bool PluginBaseExt::ioChanged() { return callHost(audioMasterIOChanged) != 0; }
bool PluginBaseExt::needIdle() { return callHost(audioMasterNeedIdle) != 0; }

bool PluginBaseExt::sizeWindow(VstInt32 width, VstInt32 height)
{
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

float PluginBaseExt::updateSampleRate()
{
    callHost(audioMasterGetSampleRate);
    return sampleRate_;
}

VstInt32 PluginBaseExt::updateBlockSize()
{
    callHost(audioMasterGetBlockSize);
    return blockSize_;
}

VstInt32 PluginBaseExt::getInputLatency() { return static_cast<VstInt32>(callHost(audioMasterGetInputLatency)); }
VstInt32 PluginBaseExt::getOutputLatency() { return static_cast<VstInt32>(callHost(audioMasterGetOutputLatency)); }

AEffect* PluginBaseExt::getPreviousPlug(VstInt32 input)
{
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug, input));
}

AEffect* PluginBaseExt::getNextPlug(VstInt32 output)
{
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug, output));
}

VstInt32 PluginBaseExt::willProcessOffline()
{
    return static_cast<VstInt32>(callHost(audioMasterWillReplaceOrAccumulate));
}

VstInt32 PluginBaseExt::getCurrentProcessLevel()
{
    return static_cast<VstInt32>(callHost(audioMasterGetCurrentProcessLevel));
}

VstInt32 PluginBaseExt::getAutomationState()
{
    return static_cast<VstInt32>(callHost(audioMasterGetAutomationState));
}

bool PluginBaseExt::offlineRead(void* offlineTask, VstInt32 option, bool readSource)
{
    return offlineTask != nullptr && callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offlineTask) != 0;
}

bool PluginBaseExt::offlineWrite(void* offlineTask, VstInt32 option)
{
    return offlineTask != nullptr && callHost(audioMasterOfflineWrite, 0, option, offlineTask) != 0;
}

bool PluginBaseExt::offlineStart(void* audioFiles, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles)
{
    return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, audioFiles) != 0;
}

VstInt32 PluginBaseExt::offlineGetCurrentPass()
{
    return static_cast<VstInt32>(callHost(audioMasterOfflineGetCurrentPass));
}

VstInt32 PluginBaseExt::offlineGetCurrentMetaPass()
{
    return static_cast<VstInt32>(callHost(audioMasterOfflineGetCurrentMetaPass));
}

void PluginBaseExt::setOutputSamplerate(float sampleRate)
{
    callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, sampleRate);
}

void* PluginBaseExt::getSpeakerArrangement()
{
    return reinterpret_cast<void*>(callHost(audioMasterGetOutputSpeakerArrangement));
}

bool PluginBaseExt::getHostVendorString(char* text)
{
    return text != nullptr && callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool PluginBaseExt::getHostProductString(char* text)
{
    return text != nullptr && callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

VstInt32 PluginBaseExt::getHostVendorVersion()
{
    return static_cast<VstInt32>(callHost(audioMasterGetVendorVersion));
}

VstIntPtr PluginBaseExt::hostVendorSpecific(VstInt32 arg1, VstIntPtr arg2, void* ptr, float opt)
{
    return callHost(audioMasterVendorSpecific, arg1, arg2, ptr, opt);
}

VstInt32 PluginBaseExt::canHostDo(char* text)
{
    return text != nullptr ? static_cast<VstInt32>(callHost(audioMasterCanDo, 0, 0, text)) : 0;
}

VstInt32 PluginBaseExt::getHostLanguage() { return static_cast<VstInt32>(callHost(audioMasterGetLanguage)); }

void* PluginBaseExt::openWindow(void* window)
{
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool PluginBaseExt::closeWindow(void* window) { return callHost(audioMasterCloseWindow, 0, 0, window) != 0; }

void* PluginBaseExt::getDirectory() { return reinterpret_cast<void*>(callHost(audioMasterGetDirectory)); }

bool PluginBaseExt::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

// Only declared parameters are reported, as for automation.
bool PluginBaseExt::beginEdit(VstInt32 index)
{
    return isHostParameter(index) && callHost(audioMasterBeginEdit, index) != 0;
}

bool PluginBaseExt::endEdit(VstInt32 index)
{
    return isHostParameter(index) && callHost(audioMasterEndEdit, index) != 0;
}

bool PluginBaseExt::openFileSelector(void* fileSelect)
{
    return fileSelect != nullptr && callHost(audioMasterOpenFileSelector, 0, 0, fileSelect) != 0;
}

bool PluginBaseExt::closeFileSelector(void* fileSelect)
{
    return fileSelect != nullptr && callHost(audioMasterCloseFileSelector, 0, 0, fileSelect) != 0;
}

bool PluginBaseExt::getChunkFile(void* nativePath)
{
    return nativePath != nullptr && callHost(audioMasterGetChunkFile, 0, 0, nativePath) != 0;
}

} // namespace grelmond
