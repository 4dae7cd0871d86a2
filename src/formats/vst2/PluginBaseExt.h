#pragma once

// The upper half of the base layer: dispatcher opcodes 25-68 and the rest of
// the host callbacks. Records the project does not use (offline tasks, speaker
// arrangements, file selectors, parameter properties, MIDI program names) pass
// through as untyped pointers.

#include "formats/vst2/PluginBase.h"

namespace grelmond {

class PluginBaseExt : public PluginBase {
public:
    PluginBaseExt(vst::AudioMasterCallback hostCallback, vst::VstInt32 numPrograms, vst::VstInt32 numParams);

    vst::VstIntPtr dispatcher(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                              float opt) override;

    virtual EditorBase* getEditor() { return editor_; }
    // Asks the host to deliver MIDI (filter 1) before each block.
    virtual bool wantEvents(vst::VstInt32 filter = 1);
    // The host's time information for the fields in `filter`, or null.
    virtual vst::VstTimeInfo* getTimeInfo(vst::VstInt32 filter);
    virtual vst::VstInt32 tempoAt(vst::VstInt32 pos);
    virtual bool processEvents(vst::VstEvents* events) { return false; }

    virtual vst::VstInt32 getNumAutomatableParameters();
    virtual vst::VstInt32 getParameterQuantization();
    virtual bool canParameterBeAutomated(vst::VstInt32 index) { return true; }
    virtual bool string2parameter(vst::VstInt32 index, char* text) { return false; }
    virtual float getChannelParameter(vst::VstInt32 channel, vst::VstInt32 index) { return 0.0f; }
    virtual vst::VstInt32 getNumCategories() { return 1; }
    virtual bool getProgramNameIndexed(vst::VstInt32 category, vst::VstInt32 index, char* text) { return false; }
    virtual bool copyProgram(vst::VstInt32 destination) { return false; }

    virtual bool ioChanged();
    virtual bool needIdle();
    virtual bool sizeWindow(vst::VstInt32 width, vst::VstInt32 height);
    // Ask the host, which answers through effSetSampleRate / effSetBlockSize;
    // both return the stored value.
    virtual float updateSampleRate();
    virtual vst::VstInt32 updateBlockSize();
    virtual vst::VstInt32 getInputLatency();
    virtual vst::VstInt32 getOutputLatency();
    virtual vst::AEffect* getPreviousPlug(vst::VstInt32 input);
    virtual vst::AEffect* getNextPlug(vst::VstInt32 output);

    virtual void inputConnected(vst::VstInt32 index, bool state) {}
    virtual void outputConnected(vst::VstInt32 index, bool state) {}
    virtual bool getInputProperties(vst::VstInt32 index, vst::VstPinProperties* properties) { return false; }
    virtual bool getOutputProperties(vst::VstInt32 index, vst::VstPinProperties* properties) { return false; }
    virtual vst::VstInt32 getPlugCategory();

    virtual vst::VstInt32 willProcessOffline();
    virtual vst::VstInt32 getCurrentProcessLevel();
    virtual vst::VstInt32 getAutomationState();
    virtual void wantAsyncOperation(bool state = true) { setFlag(vst::effFlagsExtIsAsync, state); }
    virtual void hasExternalBuffer(bool state = true) { setFlag(vst::effFlagsExtHasBuffer, state); }
    virtual vst::VstInt32 reportCurrentPosition() { return 0; }
    virtual float* reportDestinationBuffer() { return nullptr; }

    virtual bool offlineRead(void* offlineTask, vst::VstInt32 option, bool readSource = true);
    virtual bool offlineWrite(void* offlineTask, vst::VstInt32 option);
    virtual bool offlineStart(void* audioFiles, vst::VstInt32 numAudioFiles, vst::VstInt32 numNewAudioFiles);
    virtual vst::VstInt32 offlineGetCurrentPass();
    virtual vst::VstInt32 offlineGetCurrentMetaPass();
    virtual bool offlineNotify(void* audioFiles, vst::VstInt32 numAudioFiles, bool start) { return false; }
    virtual bool offlinePrepare(void* offlineTasks, vst::VstInt32 count) { return false; }
    virtual bool offlineRun(void* offlineTasks, vst::VstInt32 count) { return false; }
    virtual vst::VstInt32 offlineGetNumPasses() { return 0; }
    virtual vst::VstInt32 offlineGetNumMetaPasses() { return 0; }

    virtual void setOutputSamplerate(float sampleRate);
    virtual void* getSpeakerArrangement();
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual vst::VstInt32 getHostVendorVersion();
    virtual vst::VstIntPtr hostVendorSpecific(vst::VstInt32 arg1, vst::VstIntPtr arg2, void* ptr, float opt);
    virtual vst::VstInt32 canHostDo(char* text);
    virtual void isSynth(bool state = true) { setFlag(vst::effFlagsIsSynth, state); }
    virtual void noTail(bool state = true) { setFlag(vst::effFlagsNoSoundInStop, state); }
    virtual vst::VstInt32 getHostLanguage();
    virtual void* openWindow(void* window);
    virtual bool closeWindow(void* window);
    virtual void* getDirectory();
    virtual bool updateDisplay();

    virtual bool processVariableIo(void* variableIo) { return false; }
    virtual bool setSpeakerArrangement(void* pluginInput, void* pluginOutput) { return false; }
    virtual void setBlockSizeAndSampleRate(vst::VstInt32 blockSize, float sampleRate);
    virtual bool setBypass(bool onOff) { return false; }
    virtual bool getEffectName(char* name) { return false; }
    virtual bool getErrorText(char* text) { return false; }
    virtual bool getVendorString(char* text) { return false; }
    virtual bool getProductString(char* text) { return false; }
    virtual vst::VstInt32 getVendorVersion() { return 0; }
    virtual vst::VstIntPtr vendorSpecific(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt)
    {
        return 0;
    }
    virtual vst::VstInt32 canDo(char* text) { return 0; }
    virtual void* getIcon() { return nullptr; }
    virtual bool setViewPosition(vst::VstInt32 x, vst::VstInt32 y) { return false; }
    virtual vst::VstInt32 getGetTailSize() { return 0; }
    virtual vst::VstInt32 fxIdle() { return 0; }
    virtual bool getParameterProperties(vst::VstInt32 index, void* properties) { return false; }
    virtual bool keysRequired() { return false; }
    virtual vst::VstInt32 getVstVersion() { return 2200; }

    virtual vst::VstInt32 getMidiProgramName(vst::VstInt32 channel, void* midiProgramName) { return 0; }
    virtual vst::VstInt32 getCurrentMidiProgram(vst::VstInt32 channel, void* currentProgram) { return -1; }
    virtual vst::VstInt32 getMidiProgramCategory(vst::VstInt32 channel, void* category) { return 0; }
    virtual bool hasMidiProgramsChanged(vst::VstInt32 channel) { return false; }
    virtual bool getMidiKeyName(vst::VstInt32 channel, void* keyName) { return false; }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }

    // Around a mouse edit of parameter `index`, so the host groups its automation.
    virtual bool beginEdit(vst::VstInt32 index);
    virtual bool endEdit(vst::VstInt32 index);
    virtual bool openFileSelector(void* fileSelect);

    bool closeFileSelector(void* fileSelect);
    bool getChunkFile(void* nativePath);
    bool sendVstEventsToHost(vst::VstEvents* events);

private:
    vst::VstIntPtr dispatchEditorKey(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, float opt);
};

} // namespace grelmond
