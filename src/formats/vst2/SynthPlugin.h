#pragma once

// The VST 2 plug-in object: the instrument core behind the VST 2 base layer.
// Translates opcodes, 8-character texts, VstEvents, chunks and time info;
// the instrument itself lives in the core.

#include "core/Instrument.h"
#include "formats/vst2/PluginBaseExt.h"

#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace grelmond {

class SynthPlugin : public PluginBaseExt, private Instrument::TempoSource {
public:
    static constexpr vst::VstInt32 kNumPrograms = Instrument::kNumPrograms;
    static constexpr vst::VstInt32 kNumParams = Instrument::kNumParams;
    static constexpr vst::VstInt32 kVendorVersion = 10;

    // Construction runs on the thread that called the entry point.
    explicit SynthPlugin(vst::AudioMasterCallback hostCallback);
    ~SynthPlugin() override;

    void setParameter(vst::VstInt32 index, float value) override;
    float getParameter(vst::VstInt32 index) override;
    void process(float** inputs, float** outputs, vst::VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, vst::VstInt32 sampleFrames) override;

    // A setParameter stores into the program that was current when it began.
    vst::VstInt32 getProgram() override { return instrument_.currentProgram(); }
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
    // current program) or the current program (the text of a patch file),
    // every value exact. A chunk that the bank reader refuses, or one larger
    // than kMaxChunkBytes, changes nothing and gives 0. The returned memory
    // stays valid until the next getChunk or effClose. Host main or GUI
    // thread, rendering may run.
    vst::VstInt32 getChunk(void** data, bool isPreset) override;
    vst::VstInt32 setChunk(void* data, vst::VstInt32 byteSize, bool isPreset) override;
    static constexpr vst::VstInt32 kMaxChunkBytes = static_cast<vst::VstInt32>(Instrument::kMaxStateBytes);

    // Bank and patch files (see Instrument). User-interface thread only.
    bool loadBank(const char* name) { return instrument_.loadBank(name); }
    bool saveBank(char* name, std::size_t size) { return instrument_.saveBank(name, size); }
    bool loadPatch(const char* name) { return instrument_.loadPatch(name); }
    bool savePatch(char* name, std::size_t size) { return instrument_.savePatch(name, size); }
    bool loadBankFile(const char* path) { return instrument_.loadBankFile(path); }

    // MIDI program change: 64-127 select 0-63 again, others are ignored.
    void programChange(int number) { instrument_.programChange(number); }

    Instrument& instrument() { return instrument_; }
    ProgramBank& programs() { return instrument_.programs(); }
    InstanceRenderer& renderer() { return instrument_.renderer(); }
    // What displays show for a parameter (42 and 46 curved).
    float shownValue(vst::VstInt32 index) const { return instrument_.shownValue(index); }
    const ParameterState& parameters() const { return instrument_.parameters(); }
    EngineHolder& engine() { return instrument_.engine(); }

    // Samples per 10 ms render step at the current sample rate.
    vst::VstInt32 samplesPerStep() const { return instrument_.samplesPerStep(); }

    // Process-wide: the most recently constructed instance (null once it is
    // destroyed) and the sample rate it last saw. Per-instance work must use
    // its own instance instead.
    static SynthPlugin* lastConstructed();
    static float processSampleRate();

private:
    static void setProcessSampleRate(float sampleRate);
    bool tempo(double& bpm) override;
    void render(float** outputs, vst::VstInt32 sampleFrames, bool accumulate);

    Instrument instrument_;
    std::mutex chunkTurn_; // getChunk calls take turns over chunks_
    // What the last getChunk of each calling thread handed out: a host saving
    // from two threads at once may still be reading the other's.
    std::map<std::thread::id, std::string> chunks_;
    float vuLevel_ = 0.0f; // reported and cleared by getVu; nothing writes it

    static std::atomic<SynthPlugin*> lastConstructed_;
    static std::atomic<float> processSampleRate_;
};

} // namespace grelmond
