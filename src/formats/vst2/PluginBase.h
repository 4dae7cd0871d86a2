#pragma once

// The lower half of the base layer: owns the AEffect record the host drives,
// routes the record's function pointers and the dispatcher opcodes 0-24 to
// virtual operations, and wraps the first host callbacks.

#include "formats/vst2/VstAbi.h"

namespace grelmond {

class EditorBase;

class PluginBase {
public:
    PluginBase(vst::AudioMasterCallback hostCallback, vst::VstInt32 numPrograms, vst::VstInt32 numParams);
    virtual ~PluginBase();

    PluginBase(const PluginBase&) = delete;
    PluginBase& operator=(const PluginBase&) = delete;

    virtual void setParameter(vst::VstInt32 index, float value) {}
    virtual float getParameter(vst::VstInt32 index) { return 0.0f; }
    // Sets the value and tells the host, which records it as automation.
    virtual void setParameterAutomated(vst::VstInt32 index, float value);

    // process adds into the outputs, processReplacing overwrites them.
    virtual void process(float** inputs, float** outputs, vst::VstInt32 sampleFrames) {}
    virtual void processReplacing(float** inputs, float** outputs, vst::VstInt32 sampleFrames) {}

    virtual vst::VstIntPtr dispatcher(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value,
                                      void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}

    virtual vst::VstInt32 getProgram() { return curProgram_; }
    virtual void setProgram(vst::VstInt32 program) { curProgram_ = program; }
    // Text operations receive a non-null buffer of the interface's size.
    virtual void setProgramName(char* name) {}
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(vst::VstInt32 index, char* label);
    virtual void getParameterDisplay(vst::VstInt32 index, char* text);
    virtual void getParameterName(vst::VstInt32 index, char* text);
    virtual float getVu() { return 0.0f; }

    virtual vst::VstInt32 getChunk(void** data, bool isPreset) { return 0; }
    virtual vst::VstInt32 setChunk(void* data, vst::VstInt32 byteSize, bool isPreset) { return 0; }

    virtual void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
    virtual void setBlockSize(vst::VstInt32 blockSize) { blockSize_ = blockSize; }
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setUniqueID(vst::VstInt32 id) { effect_.uniqueID = id; }
    virtual void setNumInputs(vst::VstInt32 inputs) { effect_.numInputs = inputs; }
    virtual void setNumOutputs(vst::VstInt32 outputs) { effect_.numOutputs = outputs; }

    virtual void hasVu(bool state = true) { setFlag(vst::effFlagsHasVu, state); }
    virtual void hasClip(bool state = true) { setFlag(vst::effFlagsHasClip, state); }
    virtual void canMono(bool state = true) { setFlag(vst::effFlagsCanMono, state); }
    virtual void canProcessReplacing(bool state = true) { setFlag(vst::effFlagsCanReplacing, state); }
    virtual void programsAreChunks(bool state = true) { setFlag(vst::effFlagsProgramChunks, state); }

    virtual void setRealtimeQualities(vst::VstInt32 qualities) { effect_.realQualities = qualities; }
    virtual void setOfflineQualities(vst::VstInt32 qualities) { effect_.offQualities = qualities; }
    virtual void setInitialDelay(vst::VstInt32 delay) { effect_.initialDelay = delay; }

    virtual float getSampleRate() { return sampleRate_; }
    virtual vst::VstInt32 getBlockSize() { return blockSize_; }

    // Host callbacks. Without a callback each answers its neutral value.
    virtual vst::VstInt32 getMasterVersion();
    virtual vst::VstInt32 getCurrentUniqueId();
    virtual void masterIdle();
    virtual bool isInputConnected(vst::VstInt32 input);
    virtual bool isOutputConnected(vst::VstInt32 output);

    // Number texts: at most 8 characters plus a terminator.
    virtual void dB2string(float value, char* text);
    virtual void Hz2string(float samples, char* text);
    virtual void ms2string(float samples, char* text);
    virtual void float2string(float value, char* text);
    virtual void long2string(vst::VstInt32 value, char* text);

    // Not virtual: the editor's base calls this when it is constructed.
    void setEditor(EditorBase* editor);

    vst::AEffect* getAeffect() { return &effect_; }
    vst::AudioMasterCallback hostCallback() const { return hostCallback_; }
    vst::VstInt32 numPrograms() const { return numPrograms_; }
    vst::VstInt32 numParams() const { return numParams_; }

protected:
    // Calls the host, or answers 0 when there is no host callback.
    vst::VstIntPtr callHost(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f);
    void setFlag(vst::VstInt32 flag, bool state);
    bool isHostParameter(vst::VstInt32 index) const { return index >= 0 && index < numParams_; }

    float sampleRate_ = 44100.0f;
    EditorBase* editor_ = nullptr;
    vst::AudioMasterCallback hostCallback_;
    vst::VstInt32 numPrograms_;
    vst::VstInt32 numParams_;
    vst::VstInt32 curProgram_ = 0;
    vst::VstInt32 blockSize_ = 1024;
    vst::AEffect effect_;

private:
    static vst::VstIntPtr dispatchEntry(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                        vst::VstIntPtr value, void* ptr, float opt);
    static void processEntry(vst::AEffect* effect, float** inputs, float** outputs, vst::VstInt32 frames);
    static void processReplacingEntry(vst::AEffect* effect, float** inputs, float** outputs,
                                      vst::VstInt32 frames);
    static void setParameterEntry(vst::AEffect* effect, vst::VstInt32 index, float value);
    static float getParameterEntry(vst::AEffect* effect, vst::VstInt32 index);
};

} // namespace grelmond
