#pragma once

// The plug-in object the host drives: identity, capabilities, programs,
// parameters, the engine and the render state of one instance.

#include "params/ParameterState.h"
#include "params/ProgramBank.h"
#include "render/InstanceRenderer.h"
#include "shell/PluginBaseExt.h"
#include "shell/ProgramSelection.h"
#include "platform/InstallFolder.h"
#include "engine/EngineHolder.h"
#include "storage/ProgramFiles.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace grelmond {

class SynthPlugin : public PluginBaseExt, private InstanceRenderer::Host {
public:
    static constexpr vst::VstInt32 kNumPrograms = 64;
    static constexpr vst::VstInt32 kNumParams = 64;
    static constexpr vst::VstInt32 kVendorVersion = 10;

    // Construction runs on the thread that called the entry point.
    explicit SynthPlugin(vst::AudioMasterCallback hostCallback);
    ~SynthPlugin() override;

    void setParameter(vst::VstInt32 index, float value) override;
    float getParameter(vst::VstInt32 index) override;
    void process(float** inputs, float** outputs, vst::VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, vst::VstInt32 sampleFrames) override;

    // A setParameter stores into the program that was current when it began.
    vst::VstInt32 getProgram() override { return selection_.current(); }
    void setProgram(vst::VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(vst::VstInt32 index, char* label) override;
    void getParameterDisplay(vst::VstInt32 index, char* text) override;
    void getParameterName(vst::VstInt32 index, char* text) override;
    float getVu() override;
    void suspend() override;
    void resume() override;
    // The delay buffers are sized here for the rate, off the audio thread.
    void setSampleRate(float sampleRate) override;
    void setBlockSizeAndSampleRate(vst::VstInt32 blockSize, float sampleRate) override;

    bool processEvents(vst::VstEvents* events) override;
    bool getProgramNameIndexed(vst::VstInt32 category, vst::VstInt32 index, char* text) override;
    bool getOutputProperties(vst::VstInt32 index, vst::VstPinProperties* properties) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    vst::VstInt32 getVendorVersion() override;
    vst::VstInt32 canDo(char* text) override;

    // The host's state: the whole bank (the text of a bank file and the
    // current program) or the current program (the text of a patch file).
    // A chunk that the bank reader refuses, or one larger than kMaxChunkBytes,
    // changes nothing and gives 0. The returned memory stays valid until the
    // next getChunk from the same thread, or effClose: a host saving from two
    // threads at once may still be reading the other's. Host main or GUI
    // thread, rendering may run.
    vst::VstInt32 getChunk(void** data, bool isPreset) override;
    vst::VstInt32 setChunk(void* data, vst::VstInt32 byteSize, bool isPreset) override;
    static constexpr vst::VstInt32 kMaxChunkBytes = 1 << 20;

    // Bank and patch files by a name the user typed: a full path ('/' or "~/")
    // or a bare name in the remembered folder. A failed load changes nothing;
    // a successful one re-selects the current program. For a bare name the
    // save operations write the full path used into name (size bytes).
    // User-interface thread only.
    virtual bool loadBank(const char* name);
    virtual bool saveBank(char* name, std::size_t size);
    virtual bool loadPatch(const char* name); // into the current program
    virtual bool savePatch(char* name, std::size_t size);
    // A bank from a full path, without folder handling (the default bank).
    virtual bool loadBankFile(const char* path);

    // MIDI program change: 64-127 select 0-63 again, others are ignored.
    void programChange(int number);

    ProgramBank& programs() { return programs_; }
    InstanceRenderer& renderer() { return renderer_; }
    // What displays show for a parameter (42 and 46 curved).
    float shownValue(vst::VstInt32 index) const { return params_.mirror().get(index); }
    const ParameterState& parameters() const { return params_; }
    EngineHolder& engine() { return engine_; }

    // Samples per 10 ms render step at the current sample rate.
    vst::VstInt32 samplesPerStep() const { return samplesPerStep_; }

    // Process-wide: the most recently constructed instance (null once it is
    // destroyed) and the sample rate it last saw. Per-instance work must use
    // its own instance instead.
    static SynthPlugin* lastConstructed();
    static float processSampleRate();

protected:
    static void setProcessSampleRate(float sampleRate);
    // Brings one value into the live parameters without storing it in any
    // program; returns the value a program stores.
    virtual float applyValue(vst::VstInt32 index, float value) { return params_.apply(index, value); }

private:
    // Fills the programs from the default bank; false leaves them empty.
    bool loadDefaultBank() { return loadBankFile(files_.defaultBankPath().c_str()); }
    // A program change gives the control keyboard its full depth back.
    void resetKeyDepth() { renderer_.keyDepth().resetForProgram(); }

    void prepareForRate(float sampleRate);
    bool hostTempo(double& tempo) override;
    void midiProgramChange(int number) override;
    void render(float** outputs, vst::VstInt32 sampleFrames, RenderLoop::Mode mode);
    template <class Superseded>
    void applyProgram(vst::VstInt32 program, Superseded&& superseded);
    bool readBankChunk(const char* data, std::size_t size);
    bool readPatchChunk(const char* data, std::size_t size);

    ProgramBank programs_;
    ProgramSelection selection_;
    // Chunk and file loads come from the host's main and GUI threads; they
    // take turns here. The audio thread never takes this.
    std::mutex loading_;
    // What the last getChunk of each calling thread handed out.
    std::map<std::thread::id, std::string> chunks_;
    ProgramFiles files_{platform::installFolder()};
    ParameterState params_;
    EngineHolder engine_;
    // After the engine: its voices go back to the engine's store first.
    InstanceRenderer renderer_{params_.mirror(), params_.renderValues(), *this};
    float vuLevel_ = 0.0f; // reported and cleared by getVu; nothing writes it
    vst::VstInt32 samplesPerStep_ = 441;

    static std::atomic<SynthPlugin*> lastConstructed_;
    static std::atomic<float> processSampleRate_;
};

} // namespace grelmond
