#pragma once

#include "core/InstrumentEvent.h"
#include "core/ProgramSelection.h"
#include "engine/EngineHolder.h"
#include "params/ParameterState.h"
#include "platform/InstallFolder.h"
#include "params/ProgramBank.h"
#include "render/InstanceRenderer.h"
#include "storage/ProgramFiles.h"
#include "core/TuningControl.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>

namespace grelmond {

class ChangeReceiver;

// The instrument every plug-in format wraps: 64 parameters, 64 programs and
// their selection, bank and patch files, the host state, MIDI input and
// rendering. It knows no plug-in format; each format's adapter translates its
// host's calls into these.
//
// Threads:
// - main thread, audio stopped: construction, prepare(), reset(),
//   setChangeReceiver(), setTempoSource();
// - any thread, lock-free: parameter info, setParameter, parameter,
//   shownValue, parameterDisplay, selectProgram, currentProgram;
// - audio thread only: handleEvents, then render (zero frames allowed),
//   setTempo; nothing there allocates, locks or touches a file;
// - main or user-interface thread while audio may run: program names, the
//   state, bank and patch files (these take turns among themselves through a
//   mutex the audio thread never takes).
// A program selected during a render is applied as one whole program.
class Instrument : private InstanceRenderer::Host {
public:
    static constexpr int kNumPrograms = ProgramBank::kNumPrograms;
    static constexpr int kNumParams = kNumParameters;
    static constexpr int kProgramNameSize = ProgramBank::kProgramNameSize;
    // Longest state accepted: far above a whole bank's text.
    static constexpr std::size_t kMaxStateBytes = 1 << 20;

    // The host's tempo, asked on the audio thread only when a tempo-synced
    // delay needs it. bpm > 0 when true.
    class TempoSource {
    public:
        virtual bool tempo(double& bpm) = 0;

    protected:
        ~TempoSource() = default;
    };

    // A bank's worth of state, or one program's (the current one).
    enum class StateScope { Bank, Program };

    // Loads the default bank from the installation folder (or makes 64
    // default programs), selects program 0 and loads the waveforms.
    Instrument();
    ~Instrument();
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    // Sizes the delays for the rate. Until called the rate is 44.1 kHz.
    void prepare(double sampleRate, int maxFrames);
    // Silences the effects (delays, ensemble) and the control keyboard.
    void reset();
    double sampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }
    int maxFrames() const { return maxFrames_; }
    // Frames per 10 ms control step at the prepared rate.
    int samplesPerStep() const;

    // Parameter info; empty texts and 0 for an index outside 0..63.
    static const char* parameterName(int index);
    static const char* parameterLabel(int index);
    static float defaultValue(int index);
    // 8 characters and a terminator (kNumberTextSize bytes) into text.
    void parameterDisplay(int index, char* text) const;

    // Stores into the program that was current when the call began.
    void setParameter(int index, float value);
    // As last set (clamped to 0..1); 0 for a bad index.
    float parameter(int index) const { return params_.setValue(index); }
    // What displays show (a few parameters curved).
    float shownValue(int index) const;

    int currentProgram() const { return selection_.current(); }
    // Out-of-range indices are ignored.
    void selectProgram(int index);
    // MIDI numbering: 64-127 select 0-63 again; others are ignored.
    void programChange(int number);
    // Names: stored names into text (kProgramNameSize bytes), false for a
    // bad index; the current one as a host shows it ("Init" as "Init 5").
    bool programName(int index, char* text) const { return programs_.storedName(index, text); }
    void currentProgramDisplayName(char* text) const { programs_.displayName(currentProgram(), text); }
    void renameCurrentProgram(const char* name);
    // The current program as a fraction of 64 (file loads and the editor's
    // arrows use it).
    float programPosition() const { return programs_.currentFraction(); }
    // The folder of the data files and the remembered-folder file.
    const std::string& installFolder() const { return files_.installFolder(); }
    void setProgramPosition(float position) { programs_.setCurrentFraction(position); }

    // The host state: for a bank the text of a bank file followed by the
    // current program and, unless in equal temperament, the tuning; for a
    // program the text of a patch file; every value exact. False (and out untouched) when memory runs out.
    bool saveState(StateScope scope, std::string& out);
    // Reads a state written by saveState, or by builds whose states carried
    // three decimals. Text that is bad, cut short, empty or longer than
    // kMaxStateBytes changes nothing and gives false.
    bool loadState(StateScope scope, const char* data, std::size_t size);

    // Bank and patch files by a name the user typed: a full path ('/' or
    // "~/") or a bare name in the remembered folder. A failed load changes
    // nothing; a successful one re-selects the current program. For a bare
    // name the saves write the full path used into name (size bytes).
    bool loadBank(const char* name);
    bool saveBank(char* name, std::size_t size);
    bool loadPatch(const char* name); // into the current program
    bool savePatch(char* name, std::size_t size);
    // A bank from a full path, without folder handling (the default bank).
    bool loadBankFile(const char* path);
    // The tuning: a scale (.scl), a keyboard mapping (.kbm) or "equal" for
    // equal temperament, named as banks are; saved with the bank state.
    TuningControl::Result loadTuning(const char* name) { return tuning_.load(name); }
    TuningControl& tuning() { return tuning_; }

    // Audio thread: the block's events, in frame order, then its render.
    // Each event acts when the render reaches its frame.
    void handleEvents(const InstrumentEvent* events, int count);
    // Replaces (or adds to) left and right; null buffers or no frames render
    // nothing but play the events handed over.
    void render(float* left, float* right, int frames, bool accumulate = false);
    // The transport's tempo for the next renders; 0 when the host gives none.
    // Ignored while a TempoSource is set.
    void setTempo(double bpm) { tempo_ = bpm; }
    void setTempoSource(TempoSource* source) { tempoSource_ = source; }
    void setChangeReceiver(ChangeReceiver* receiver) { receiver_.store(receiver, std::memory_order_release); }

    // For tools and tests that look inside.
    ProgramBank& programs() { return programs_; }
    const ParameterState& parameters() const { return params_; }
    InstanceRenderer& renderer() { return renderer_; }
    EngineHolder& engine() { return engine_; }

private:
    // Brings one value into the live parameters without storing it in any
    // program; returns the value a program stores.
    float applyValue(int index, float value);
    template <class Superseded>
    void applyProgram(int program, Superseded&& superseded);
    bool loadDefaultBank() { return loadBankFile(files_.defaultBankPath().c_str()); }

    bool hostTempo(double& tempo) override;
    void midiProgramChange(int number) override;

    bool readBankState(const char* data, std::size_t size);
    bool readProgramState(const char* data, std::size_t size);

    ProgramBank programs_;
    ProgramSelection selection_;
    std::mutex loading_; // state and file loads take turns; never the audio thread
    ProgramFiles files_{platform::installFolder()};
    ParameterState params_;
    EngineHolder engine_;
    // After the engine: its voices go back to the engine's store first.
    InstanceRenderer renderer_{params_.mirror(), params_.renderValues(), *this};
    // After the renderer, whose audio side it hands its tables to.
    TuningControl tuning_{files_.installFolder(), renderer_.tuningExchange()};
    std::atomic<ChangeReceiver*> receiver_{nullptr};
    TempoSource* tempoSource_ = nullptr;
    double tempo_ = 0.0;
    std::atomic<float> sampleRate_{44100.0f}; // read by the editor while audio runs
    int maxFrames_ = 0;
};

} // namespace grelmond
