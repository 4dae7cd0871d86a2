#pragma once

#include "engine/EngineRandom.h"
#include "engine/Envelope.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace grelmond {

class Keygroup;
class Multi;
class SamplerProgram;
class Voice;
class Waveform;

// Root of one instance's engine objects: it creates and owns the multi, the
// sampler programs, keygroups, envelopes, waveforms and every voice.
// Everything but voices is created on the constructing thread; voices are
// started and ended on the audio thread from a preallocated set, so playing
// never allocates.
class SampleStore {
public:
    static constexpr int programSlots = 64;
    // The voice list's 128 and a few more for voices fading out to make room.
    static constexpr int voiceSlots = 136;

    SampleStore();
    ~SampleStore();
    SampleStore(const SampleStore&) = delete;
    SampleStore& operator=(const SampleStore&) = delete;

    Multi* createMulti();
    Waveform* createWaveform();
    // Zeroed samples of frames × 2 bytes; null when memory is short.
    static std::unique_ptr<int16_t[]> createSampleBuffer(int frames);
    Envelope* createEnvelope(int attack, int decay, float sustain, int release, bool clickGuard,
                             Envelope::FirstAttack firstAttack = Envelope::FirstAttack::Straight);
    Keygroup* createKeygroup();
    SamplerProgram* createProgram(const char* name);

    // A voice for the store's first program, or null when every slot sounds
    // or there is no program. The voice draws from its slot's random stream.
    Voice* createVoice(int velocity, int note, int startDelay);
    void destroyVoice(Voice* voice);
    int voicesInUse() const;

    int programCount() const { return programCount_; }
    SamplerProgram* program(int i) const;
    EngineRandom& random() { return random_; }

private:
    std::array<SamplerProgram*, programSlots> programList_{};
    int programCount_ = 0;
    EngineRandom random_;

    std::vector<std::unique_ptr<Multi>> multis_;
    std::vector<std::unique_ptr<SamplerProgram>> programs_;
    std::vector<std::unique_ptr<Keygroup>> keygroups_;
    std::vector<std::unique_ptr<Envelope>> envelopes_;
    std::vector<std::unique_ptr<Waveform>> waveforms_;
    std::unique_ptr<Voice[]> voices_;
    std::array<bool, voiceSlots> voiceInUse_{};
};

} // namespace grelmond
