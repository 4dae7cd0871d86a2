#include "engine/EngineHolder.h"

#include "engine/Envelope.h"
#include "engine/Keygroup.h"
#include "engine/Multi.h"
#include "engine/SampleStore.h"
#include "engine/SamplerProgram.h"
#include "engine/Waveform.h"

namespace grelmond {

namespace {
constexpr int defaultAttack = 10;
constexpr int defaultDecay = 50;
constexpr float defaultSustain = 0.5f;
constexpr int defaultRelease = 300;
} // namespace

EngineHolder::EngineHolder() : store_(std::make_unique<SampleStore>()) {
    SampleStore& s = *store_;
    multi_ = s.createMulti();
    SamplerProgram* program = s.createProgram("Default");
    Envelope* amplitude = s.createEnvelope(defaultAttack, defaultDecay, defaultSustain, defaultRelease, false);
    Envelope* filter = s.createEnvelope(defaultAttack, defaultDecay, defaultSustain, defaultRelease, false,
                                        Envelope::FirstAttack::Exponential);
    Envelope* proc = s.createEnvelope(defaultAttack, defaultDecay, defaultSustain, defaultRelease, false);
    keygroup_ = s.createKeygroup();
    keygroup_->setEnvelopes(amplitude, filter, proc);
    for (int i = 0; i < WaveformSet::count; ++i) {
        Waveform* w = s.createWaveform();
        w->attachSamples(SampleStore::createSampleBuffer(Waveform::length));
        keygroup_->addWaveform(w);
        waveforms_.set(i, w);
    }
    program->addKeygroup(keygroup_);
    multi_->addProgram(program);
}

EngineHolder::~EngineHolder() = default;

void EngineHolder::loadWaveforms(const std::string& installFolder) { waveforms_.load(installFolder); }

Envelope* EngineHolder::amplitudeEnvelope() const { return keygroup_->amplitude(); }
Envelope* EngineHolder::filterEnvelope() const { return keygroup_->filter(); }
Envelope* EngineHolder::procEnvelope() const { return keygroup_->proc(); }

} // namespace grelmond
