#pragma once

#include "engine/DenormalOffset.h"
#include "engine/EngineRandom.h"

#include "engine/LadderFilter.h"
#include "engine/OscillatorLanes.h"
#include "engine/ProcLanes.h"
#include "engine/ProcProcessor.h"
#include "engine/VoiceContext.h"

#include <array>
#include <cstdint>

class EngineRandom;

namespace grelmond {

class Keygroup;
class ParameterMirror;
class SampleStore;
class TuningTable;

// What one render call of a voice is given by its own plug-in instance.
struct VoiceRenderInput {
    int frames = 0;         // frames of this call
    // Frames from this call's first to the end of its sub-block; 0 when the
    // call is the whole sub-block. Block values are set up once per sub-block
    // however many calls it is cut into.
    int chunkLeft = 0;
    int sampleRate = 44100; // host rate, truncated
    int outOffset = 0;      // frame 0 of the sub-block in the output buffers
    float cutoff = 0.0f;    // filter LFO already applied
    float resonance = 0.0f; // "FiltReso"
    float envAmount = 0.0f; // "FltEnAmn"
    float pitchMod = 0.0f;  // global pitch modulation, semitones
    const ParameterMirror* mirror = nullptr;
    float keyDepth = 1.0f;
    // Each note's distance from equal temperament, read at every block setup;
    // null plays equal temperament.
    const TuningTable* tuning = nullptr;
    // The denormal offset before this call's first frame; frame i uses it
    // with its sign flipped i + 1 times.
    float denormal = DenormalOffset::before(0);
};

// One sounding note. Voices are preallocated by the sample store and
// started, rendered and ended on the audio thread only.
class Voice {
public:
    Voice() = default;
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    // Starts a note from the keygroup. The voice draws its noise from its own
    // copy of random (set by the store to its slot's stream at every start): draws shared
    // between voices would interleave by the host's block split.
    void start(SampleStore* owner, EngineRandom* random, const Keygroup& keygroup, int velocity, int note,
               int startDelay);
    // Gives the context's waveform references back.
    void end();

    // A second note-off keeps the delay and levels of the first. The levels
    // are read when the note-off's frame is played.
    void noteOff(int delay);
    void setPitchBend(float semitones) { pitchBend_ = semitones; }
    void setModWheel(float value) { modWheel_ = value; }

    // Adds the sub-block's sound into both outputs; false once the voice has ended.
    bool render(float* left, float* right, const VoiceRenderInput& in);

    // The batched path: the same call in steps, for voices whose oscillators,
    // proc functions and ladders run in lanes. beginBlock() counts the start
    // delay and sets the sub-block up (nothing more when the block is not
    // rendered); the oscillators then run over frames start..frames-1
    // (loadLane/storeLane hand their state over), storing frame i's mix, third
    // oscillator and amplitude; the caller turns those into the ladder input
    // with the band-pass bank (bank()) or the proc function (loadProcLane/
    // storeProcLane) and runs the ladder (filter()), each frame with the denormal offset flipped
    // once more from `denormal`; endBlock() counts the frames and closes the
    // sub-block, false once the voice has ended.
    struct DryBlock {
        bool rendered = false; // false while the start delay runs
        int start = 0;
        float denormal = 0.0f;
        // The proc function is the band-pass bank alone, left to the caller:
        // the ladder input is then (bank(mix) + third) × amp.
        bool bankLeft = false;
    };
    DryBlock beginBlock(const VoiceRenderInput& in);
    void loadLane(OscillatorLanes& lanes, int lane) const;
    void storeLane(const OscillatorLanes& lanes, int lane);
    // Hand the proc state over to lanes and back; loadProcLane() also takes
    // this call's random draws, so it is called in pool order.
    void loadProcLane(ProcLanes& lanes, int lane, const DryBlock& block, int frames);
    void storeProcLane(const ProcLanes& lanes, int lane);
    int procFunction() const { return proc_.function(); }
    bool endBlock(const DryBlock& block, const VoiceRenderInput& in);
    // The rest of render() after beginBlock(), frame by frame, for a voice the
    // caller renders alone.
    bool renderBegun(const DryBlock& block, float* left, float* right, const VoiceRenderInput& in);
    ProcBandPassBank& bank() { return proc_.bank(); }
    // Whether frame-time parameters let the ladder run, and as a high-pass.
    static bool filterRuns(const ParameterMirror* mirror);
    static bool filterHighPass(const ParameterMirror* mirror);
    LadderFilter& filter() { return filter_; }
    // Zeroes every recursive filter state (ladder stages, proc histories); the
    // note itself, its phases and envelopes go on.
    void clearRecursiveState();

    int note() const { return note_; }
    int velocity() const { return velocity_; }
    float pitchBend() const { return pitchBend_; }
    float modWheel() const { return modWheel_; }
    int startDelay() const { return startDelay_; }
    int releaseDelay() const { return releaseDelay_; }
    bool noteOffPending() const { return noteOffPending_; }
    bool releasing() const { return releasing_; }
    bool finished() const { return finished_; }
    SampleStore* owner() const { return owner_; }
    const VoiceContext& context() const { return context_; }
    VoiceContext& context() { return context_; }
    float pitchOffset(int k) const { return pitchOffset_[static_cast<std::size_t>(k)]; }

private:
    struct Settings;
    struct Block;

    void openBlock(const VoiceRenderInput& in, float sampleRate);
    template <class Sink>
    void renderFrames(int start, int end, float denormal, Sink&& sink);
    bool closeBlock(float sampleRate);
    void setupBlock(const Settings& s, const VoiceRenderInput& in, float sampleRate, Block& b);
    void setupOscillators(const Settings& s);
    void setupIncrements(const Settings& s, const VoiceRenderInput& in, float sampleRate, float procPitch,
                         int function);
    float envelopeValue(int slot, bool* ended = nullptr) const;
    void countReleaseDelay(int frames);
    void finishBlock(int frames, float sampleRate);
    void resetNonFinite();

    SampleStore* owner_ = nullptr;
    EngineRandom random_;
    const Keygroup* keygroup_ = nullptr;
    VoiceContext context_;
    int32_t velocity_ = 0;
    int32_t note_ = 0;
    float pitchBend_ = 0.0f;
    float modWheel_ = 0.0f;
    int32_t startDelay_ = 0;
    int32_t releaseDelay_ = -1;
    bool noteOffPending_ = false;
    bool releaseDue_ = false; // the note-off's frame has been played
    bool releasing_ = false;
    bool finished_ = false;
    std::array<float, 3> pitchOffset_{};
    ProcProcessor proc_;
    LadderFilter filter_;
    float ampStage1_ = 0.0f;
    float ampStage2_ = 0.0f;
    // The sub-block in progress: its amplitude values and the frames played.
    bool blockOpen_ = false;
    float blockAmpLevel_ = 0.0f;
    bool blockAmpEnded_ = false;
    int blockFrames_ = 0;
};

} // namespace grelmond
