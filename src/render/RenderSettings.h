#pragma once

#include "render/Flanger.h"

#include <cstdint>

namespace grelmond {

struct DelaySettings {
    int length = 0;        // frames, when not synchronised
    float time = 0.0f;     // 0..1, selects the division when synchronised
    float mix = 0.0f;
    float feedback = 0.0f;
    float sync = 0.0f;     // non-zero locks the length to the host tempo
    std::uint32_t restarts = 0; // delay-time settings so far: a new count restarts the echo from silence
};

// The engine values the render loop reads once per chunk.
struct RenderSettings {
    float pitchRate = 0.0f;
    float pitchDepth = 0.0f;
    float flangerRate = 0.0f;   // already curved and divided by 10
    float flangerRandom = 0.0f;
    float filterLfoRate = 0.0f; // already curved and divided by 10
    float filterLfoDepth = 0.0f;
    float cutoff = 1.0f;
    float resonance = 0.0f;
    float filterEnvAmount = 0.0f;
    float glide = 0.0f;         // keyDepth smoothing coefficient
    int ensembleCopies = 0;
    float detune = 0.0f;
    int procFunction = 0;       // 0 is the in-voice flanging, which replaces the global flanger
    Flanger::Settings flanger{};
    float chorusMix = 0.0f;     // already halved
    float chorusRate = 0.0f;    // already divided by 10
    float chorusDepth = 0.0f;
    DelaySettings delay[2]{};
    float volumeGain = 0.0f;
};

// What the voices of one chunk are given.
struct VoiceChunk {
    int frames = 0;    // frames of this call
    int chunkLeft = 0; // frames from this call's first to the chunk's end
    int sampleRate = 0;
    float cutoff = 0.0f;     // filter LFO already applied
    float resonance = 0.0f;
    float envAmount = 0.0f;
    float pitchMod = 0.0f;
    float denormal = 0.0f; // the denormal offset before this call's first frame
};

} // namespace grelmond
