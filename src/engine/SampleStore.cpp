#include "engine/SampleStore.h"

#include "engine/Voice.h"
#include "engine/Keygroup.h"
#include "engine/Multi.h"
#include "engine/SamplerProgram.h"
#include "engine/Waveform.h"

#include <new>

namespace grelmond {

SampleStore::SampleStore() : voices_(new (std::nothrow) Voice[voiceSlots]) {}

SampleStore::~SampleStore() {
    if (voices_)
        for (int i = 0; i < voiceSlots; ++i)
            if (voiceInUse_[static_cast<std::size_t>(i)]) voices_[i].end();
}

Multi* SampleStore::createMulti() {
    multis_.push_back(std::make_unique<Multi>(this));
    return multis_.back().get();
}

Waveform* SampleStore::createWaveform() {
    waveforms_.push_back(std::make_unique<Waveform>(this));
    return waveforms_.back().get();
}

std::unique_ptr<int16_t[]> SampleStore::createSampleBuffer(int frames) {
    if (frames <= 0) return nullptr;
    return std::unique_ptr<int16_t[]>(new (std::nothrow) int16_t[static_cast<std::size_t>(frames)]());
}

Envelope* SampleStore::createEnvelope(int attack, int decay, float sustain, int release, bool clickGuard,
                                      Envelope::FirstAttack firstAttack) {
    envelopes_.push_back(std::make_unique<Envelope>(attack, decay, sustain, release, this, clickGuard, firstAttack));
    return envelopes_.back().get();
}

Keygroup* SampleStore::createKeygroup() {
    keygroups_.push_back(std::make_unique<Keygroup>(this));
    return keygroups_.back().get();
}

SamplerProgram* SampleStore::createProgram(const char* name) {
    programs_.push_back(std::make_unique<SamplerProgram>(this, name));
    SamplerProgram* p = programs_.back().get();
    if (programCount_ < programSlots) programList_[static_cast<std::size_t>(programCount_++)] = p;
    return p;
}

SamplerProgram* SampleStore::program(int i) const {
    return i >= 0 && i < programCount_ ? programList_[static_cast<std::size_t>(i)] : nullptr;
}

Voice* SampleStore::createVoice(int velocity, int note, int startDelay) {
    SamplerProgram* p = program(0);
    Keygroup* k = p ? p->keygroup(0) : nullptr;
    if (!k || !voices_) return nullptr;
    for (int i = 0; i < voiceSlots; ++i) {
        if (voiceInUse_[static_cast<std::size_t>(i)]) continue;
        voiceInUse_[static_cast<std::size_t>(i)] = true;
        random_.seedStream(i);
        voices_[i].start(this, &random_, *k, velocity, note, startDelay);
        return &voices_[i];
    }
    return nullptr;
}

void SampleStore::destroyVoice(Voice* voice) {
    if (!voice || !voices_) return;
    std::ptrdiff_t i = voice - voices_.get();
    if (i < 0 || i >= voiceSlots || !voiceInUse_[static_cast<std::size_t>(i)]) return;
    voice->end();
    voiceInUse_[static_cast<std::size_t>(i)] = false;
}

int SampleStore::voicesInUse() const {
    int n = 0;
    for (bool used : voiceInUse_) n += used ? 1 : 0;
    return n;
}

} // namespace grelmond
