#pragma once

#include "render/Chorus.h"
#include "render/DelayLine.h"
#include "render/Ensemble.h"
#include "render/FilterLfo.h"
#include "render/Flanger.h"
#include "render/FlangerLfo.h"
#include "render/GainGlide.h"
#include "render/KeyDepth.h"
#include "render/RenderClient.h"
#include "render/TempoSync.h"

#include <array>
#include <cstdint>

namespace grelmond {

// The body of process and processReplacing: cuts the stream into 10 ms chunks,
// computes the global LFOs once per chunk, lets the voices render, and runs every
// frame through ensemble, flanger, chorus, delays and main volume. A chunk runs
// on across host blocks, so every block size plays the same sound. Held by value
// in the plug-in; construct/reset on the constructing thread, render on the audio
// thread.
class RenderLoop {
public:
    static constexpr int kMaxChunk = 4096;
    // +120 dBFS, the output guard's bound: only a runaway gets there. The
    // loudest legitimate settings found (every level, mix and feedback at
    // maximum, 128 voices at velocity 127) peak near 2e4, +86 dBFS.
    static constexpr float kRunaway = 1.0e6f;
    enum class Mode { Replace, Accumulate };

    RenderLoop();

    // Clears all effect state and LFOs; the sample counter keeps running.
    void reset();

    // Sizes the delay buffers for a sample rate; allocates, so never on the
    // audio thread.
    void setSampleRate(double sampleRate);

    void render(RenderClient& client, float* left, float* right, int frames, double sampleRate, Mode mode);

    static int chunkSize(double sampleRate);

    KeyDepth& keyDepth() { return keyDepth_; }
    const KeyDepth& keyDepth() const { return keyDepth_; }
    const Ensemble& ensemble() const { return ensemble_; }
    const TempoSync& tempoSync() const { return sync_; }
    // Frames a delay can hold at the rate last set: the longest length in use.
    int delayCapacity() const { return delays_[0].capacity(); }
    std::int64_t sampleCounter() const { return sampleCounter_; }
    // Frames silenced because they were not finite or beyond kRunaway.
    std::int64_t silencedFrames() const { return silencedFrames_; }
    // Lets tests start the clock late in a long session.
    void setSampleCounter(std::int64_t frames) { sampleCounter_ = frames; }

private:
    void beginChunk(RenderClient& client, double sampleRate);
    void renderSpan(RenderClient& client, float* left, float* right, int frames);
    void setupChunk(RenderClient& client, const RenderSettings& s, double sampleRate, int chunk, VoiceChunk& voice);
    // False when a frame had to be silenced.
    bool processFrames(float* left, float* right, int frames, const RenderSettings& s);
    // The same, frame by frame (the reference).
    bool processFramesInTurn(float* left, float* right, int frames, const RenderSettings& s);
    void resetEffects();
    int activeDelayLength(int side, const RenderSettings& s) const;

    std::int64_t sampleCounter_ = 0;
    std::int64_t silencedFrames_ = 0;
    // The chunk in progress: its length, the frames done, what it gives the
    // voices and the residue its frames start from.
    int chunkLength_ = 0;
    int chunkDone_ = 0;
    VoiceChunk chunkVoices_{};
    float chunkFill_ = 0.0f;
    RenderSettings settings_{};
    FlangerLfo flangerLfo_;
    FilterLfo filterLfo_;
    KeyDepth keyDepth_;
    Ensemble ensemble_;
    Flanger flanger_;
    Chorus chorus_;
    std::array<DelayLine, 2> delays_{};
    TempoSync sync_;
    GainGlide volume_;
    std::array<float, kMaxChunk> scratchL_{};
    std::array<float, kMaxChunk> scratchR_{};
    // The denormal offset of each frame of a span.
    std::array<float, kMaxChunk> offsets_{};
    // GRELMOND_EFFECTS=reference at construction runs the effects frame by
    // frame, every unit in turn: the reference the span-wise chain must match
    // sample for sample.
    bool referenceEffects_ = false;
    // The pitch-shift taps take eight frames per step (AVX2) instead of four.
    bool wideLanes_ = false;
};

} // namespace grelmond
