#pragma once

#include "engine/Voice.h"
#include "params/ParameterMirror.h"
#include "engine/EngineHolder.h"
#include "engine/SampleStore.h"

#include "TestPaths.h"

#include <vector>

// One instance's engine with the waveforms the build generated, a parameter
// mirror set to a plain sine on oscillator 1 (no velocity, proc or filter
// influence) and flat envelopes; renders voices in 10 ms chunks.
struct VoiceRig {
    grelmond::EngineHolder engine;
    grelmond::ParameterMirror mirror;
    grelmond::VoiceRenderInput input;

    explicit VoiceRig(int sampleRate = 44100) {
        engine.loadWaveforms(testpaths::pluginDir());
        for (int k = 0; k < 3; ++k) {
            set(4 * k + 0, 0.0f);          // sine
            set(4 * k + 1, 0.5f);          // no coarse offset
            set(4 * k + 2, 0.5f);          // no fine offset
            set(4 * k + 3, k == 0 ? 1.0f : 0.0f);
        }
        set(57, 1.0f / 25.1f + 0.001f); // "2 PitchMod Hi": passes the mix through
        set(58, 0.0f);                  // proc amount
        set(39, 1.0f);                  // filter bypassed
        envelopes(0, 0, 1.0f, 0);
        input.sampleRate = sampleRate;
        input.frames = sampleRate / 100;
        input.cutoff = 1.0f;
        input.mirror = &mirror;
    }

    void set(int index, float v) { mirror.set(index, v); }
    void setFunction(int f) { set(57, (f + 0.5f) / 25.1f); }

    void envelopes(int a, int d, float s, int r) {
        for (grelmond::Envelope* e : {engine.amplitudeEnvelope(), engine.filterEnvelope(), engine.procEnvelope()}) {
            e->setAttack(a);
            e->setDecay(d);
            e->setSustain(s);
            e->setRelease(r);
        }
    }

    grelmond::Voice* start(int note = 57, int velocity = 127, int delay = 0) {
        return engine.store()->createVoice(velocity, note, delay);
    }

    // Renders `frames` frames in chunks; the left channel, or empty if the
    // channels ever differ. Stops counting chunks once the voice ends.
    struct Result {
        std::vector<float> left;
        bool channelsEqual = true;
        int aliveChunks = 0;
    };

    Result render(grelmond::Voice* v, int frames) {
        Result r;
        r.left.assign(static_cast<std::size_t>(frames), 0.0f);
        std::vector<float> right(r.left.size(), 0.0f);
        int chunk = input.frames;
        bool alive = true;
        for (int pos = 0; pos < frames && alive; pos += chunk) {
            grelmond::VoiceRenderInput in = input;
            in.frames = std::min(chunk, frames - pos);
            in.outOffset = pos;
            alive = v->render(r.left.data(), right.data(), in);
            if (alive) ++r.aliveChunks;
        }
        r.channelsEqual = r.left == right;
        return r;
    }
};
