#include "engine/Voice.h"

#include "engine/Envelope.h"
#include "engine/EngineRandom.h"
#include "engine/OscillatorPitch.h"
#include "params/ParameterMirror.h"
#include "engine/Keygroup.h"
#include "params/TuningTable.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {

// Parameter indices the voice reads; oscillator k's four follow at 4 × k.
constexpr int waveIndex = 0;
constexpr int coarseIndex = 1;
constexpr int fineIndex = 2;
constexpr int volumeIndex = 3;
constexpr int pitchRateIndex = 12;
constexpr int procInvertIndex = 30;
constexpr int flangerFeedbackIndex = 35;
constexpr int ampVelocityIndex = 37;
constexpr int filterBypassIndex = 39;
constexpr int filterHighPassIndex = 44;
constexpr int filterVelocityIndex = 45;
constexpr int procFunctionIndex = 57;
constexpr int procAmountIndex = 58;

constexpr float oscillatorScale = 0.75f;
constexpr float mixScale = 1.0f / 8.0f;

bool finite(float v) { return std::isfinite(v); }

} // namespace

// Parameter values of one render call.
struct Voice::Settings {
    float wave[3], coarse[3], fine[3], volume[3];
    float pitchRate, procInvert, flangerFeedback, ampVelocity, filterVelocity, procFunction, procAmount;

    explicit Settings(const ParameterMirror& m) {
        for (int k = 0; k < 3; ++k) {
            wave[k] = m.get(waveIndex + 4 * k);
            coarse[k] = m.get(coarseIndex + 4 * k);
            fine[k] = m.get(fineIndex + 4 * k);
            volume[k] = m.get(volumeIndex + 4 * k);
        }
        pitchRate = m.get(pitchRateIndex);
        procInvert = m.get(procInvertIndex);
        flangerFeedback = m.get(flangerFeedbackIndex);
        ampVelocity = m.get(ampVelocityIndex);
        filterVelocity = m.get(filterVelocityIndex);
        procFunction = m.get(procFunctionIndex);
        procAmount = m.get(procAmountIndex);
    }
};

// Values computed once per render call for the frame loop.
struct Voice::Block {
    float ampLevel = 0.0f;
    bool ampEnded = false;
};

void Voice::start(SampleStore* owner, EngineRandom* random, const Keygroup& keygroup, int velocity, int note,
                  int startDelay) {
    owner_ = owner;
    random_ = random != nullptr ? *random : EngineRandom{};
    keygroup_ = &keygroup;
    context_.attach(keygroup);
    velocity_ = velocity;
    note_ = note;
    pitchBend_ = 0.0f;
    modWheel_ = 0.0f;
    startDelay_ = std::max(startDelay, 0);
    releaseDelay_ = -1;
    noteOffPending_ = false;
    releaseDue_ = false;
    releasing_ = false;
    finished_ = false;
    pitchOffset_ = {};
    proc_.reset();
    filter_.reset();
    ampStage1_ = 0.0f;
    ampStage2_ = 0.0f;
    // A slot ended mid-chunk (a voice stopped to make room) is set up afresh.
    blockOpen_ = false;
    blockFrames_ = 0;
}

void Voice::end() { context_.detach(); }

void Voice::noteOff(int delay) {
    if (noteOffPending_) return;
    noteOffPending_ = true;
    releaseDelay_ = std::max(delay, 0);
}

float Voice::envelopeValue(int slot, bool* ended) const {
    const Envelope* e = context_.envelope(slot);
    if (!e) {
        if (ended) *ended = true;
        return 0.0f;
    }
    Envelope::Reading r = e->read(context_.noteClock, context_.releaseTime, releasing_,
                                  context_.releaseLevel[static_cast<std::size_t>(slot)]);
    if (ended) *ended = r.ended;
    return r.value;
}

bool Voice::render(float* left, float* right, const VoiceRenderInput& in) {
    const DryBlock block = beginBlock(in);
    if (!block.rendered) return true;
    return renderBegun(block, left, right, in);
}

bool Voice::renderBegun(const DryBlock& block, float* left, float* right, const VoiceRenderInput& in) {
    const ParameterMirror* mirror = in.mirror;
    renderFrames(block.start, std::max(in.frames, 0), block.denormal, [&](int i, float v, float d) {
        if (mirror && mirror->get(filterBypassIndex) == 0.0f)
            v = filter_.process(v, d, mirror->get(filterHighPassIndex) != 0.0f);
        left[in.outOffset + i] += v;
        right[in.outOffset + i] += v;
    });
    return endBlock(block, in);
}

bool Voice::filterRuns(const ParameterMirror* mirror) {
    return mirror && mirror->get(filterBypassIndex) == 0.0f;
}

bool Voice::filterHighPass(const ParameterMirror* mirror) {
    return mirror->get(filterHighPassIndex) != 0.0f;
}

Voice::DryBlock Voice::beginBlock(const VoiceRenderInput& in) {
    DryBlock block;
    const int frames = std::max(in.frames, 0);
    const int chunkLeft = std::max(in.chunkLeft, frames);
    const float sampleRate = static_cast<float>(std::max(in.sampleRate, 1));
    if (!blockOpen_) {
        // A start on or beyond the sub-block's end only counts down, so a note
        // set up in a later sub-block is set up there whichever call brings it.
        if (startDelay_ > 0 && chunkLeft <= startDelay_) {
            startDelay_ -= frames;
            countReleaseDelay(frames);
            return block;
        }
        openBlock(in, sampleRate);
    }
    const int start = std::min(startDelay_, frames);
    startDelay_ -= start;
    block.rendered = true;
    block.start = start;
    // Every voice and the render loop give a frame the same sign.
    block.denormal = start % 2 == 0 ? in.denormal : -in.denormal;
    // Only a voice whose proc is the bank alone may leave it out.
    block.bankLeft = proc_.bankOnly();
    return block;
}

void Voice::loadLane(OscillatorLanes& lanes, int lane) const {
    for (int k = 0; k < OscillatorLanes::kOscillators; ++k)
        lanes.load(lane, k, context_.oscillators[static_cast<std::size_t>(k)]);
    lanes.ampStage1[lane] = ampStage1_;
    lanes.ampStage2[lane] = ampStage2_;
    lanes.ampLevel[lane] = blockAmpLevel_;
}

void Voice::storeLane(const OscillatorLanes& lanes, int lane) {
    for (int k = 0; k < OscillatorLanes::kOscillators; ++k)
        lanes.store(lane, k, context_.oscillators[static_cast<std::size_t>(k)]);
    ampStage1_ = lanes.ampStage1[lane];
    ampStage2_ = lanes.ampStage2[lane];
}

void Voice::loadProcLane(ProcLanes& lanes, int lane, const DryBlock& block, int frames) {
    lanes.load(lane, proc_, block.denormal);
    lanes.draw(lane, frames - block.start, random_);
}

void Voice::storeProcLane(const ProcLanes& lanes, int lane) { lanes.store(lane, proc_); }

bool Voice::endBlock(const DryBlock& block, const VoiceRenderInput& in) {
    const int frames = std::max(in.frames, 0);
    const int chunkLeft = std::max(in.chunkLeft, frames);
    const float sampleRate = static_cast<float>(std::max(in.sampleRate, 1));
    blockFrames_ += frames - block.start;
    countReleaseDelay(frames);
    if (chunkLeft > frames) return true;
    const bool alive = closeBlock(sampleRate);
    if (!alive) finished_ = true;
    return alive;
}

void Voice::clearRecursiveState() {
    filter_.clearStages();
    proc_.clearHistories();
}

void Voice::setupOscillators(const Settings& s) {
    for (int k = 0; k < 3; ++k) {
        float key = OscillatorPitch::key(note_, s.coarse[k]);
        OscillatorPitch::WaveChoice choice = OscillatorPitch::choose(OscillatorPitch::shapeClass(s.wave[k]), key);
        context_.oscillators[static_cast<std::size_t>(k)].setup(
            context_.waveform(choice.waveform), OscillatorPitch::semitoneOffset(key, choice.reference),
            s.volume[k] * oscillatorScale);
    }
    OscillatorPitch::fineOffsets(s.fine, pitchOffset_.data());
}

void Voice::setupIncrements(const Settings& s, const VoiceRenderInput& in, float sampleRate, float procPitch,
                            int function) {
    // The tuning moves the pitch, not the key: waveform bands stay as the key
    // chose them, and a deviation of 0 adds nothing, bit for bit.
    const float tuning = in.tuning ? in.tuning->deviation(note_) : 0.0f;
    float pitch[3];
    for (int k = 0; k < 3; ++k)
        pitch[k] = pitchBend_ + pitchOffset_[static_cast<std::size_t>(k)] + in.pitchMod + (k < 2 ? procPitch : 0.0f) +
                   tuning;
    for (int k = 0; k < 3; ++k) {
        Oscillator& o = context_.oscillators[static_cast<std::size_t>(k)];
        if (!o.active()) continue;
        float vibrato = context_.vibrato.step(context_.noteClock, s.pitchRate);
        float inc = o.rawIncrement(pitch[k] + 2.0f * modWheel_ * vibrato, sampleRate);
        bool steady = pitch[k] == context_.lastPitch && !(modWheel_ > 0.0f);
        o.setIncrement(inc, !steady);
        context_.lastPitch = pitch[k];
    }
    const Oscillator& o1 = context_.oscillators[0];
    float inc1 = o1.increment();
    // The carrier functions follow oscillator 1 even while it is silent; this
    // leaves the vibrato and the phase counters alone.
    if (!o1.active() && ProcProcessor::needsOscillator1Increment(function))
        inc1 = o1.rawIncrement(pitch[0] + 2.0f * modWheel_ * context_.vibrato.value(), sampleRate);
    proc_.setOscillator1Increment(inc1);
}

void Voice::setupBlock(const Settings& s, const VoiceRenderInput& in, float sampleRate, Block& b) {
    float ampVelocity = (1.0f - s.ampVelocity) + s.ampVelocity * static_cast<float>(velocity_) / 127.0f;
    float filterVelocity = static_cast<float>(velocity_) / 127.0f * s.filterVelocity;
    setupOscillators(s);

    float procEnv = envelopeValue(VoiceContext::procEnvelope);
    ProcBlockInput procIn;
    procIn.function = ProcProcessor::functionIndex(s.procFunction);
    procIn.procLevel = ProcProcessor::procLevel(s.procAmount, procEnv, s.procInvert);
    procIn.procEnv = procEnv;
    procIn.keyDepth = in.keyDepth;
    procIn.sampleRate = sampleRate;
    procIn.flangerFeedback = s.flangerFeedback;
    ProcPitch procPitch = proc_.blockSetup(procIn);
    for (int k = 0; k < 3; ++k)
        pitchOffset_[static_cast<std::size_t>(k)] += procPitch.chaosOffset[static_cast<std::size_t>(k)];
    setupIncrements(s, in, sampleRate, procPitch.procPitch, procIn.function);

    b.ampLevel = envelopeValue(VoiceContext::amplitudeEnvelope, &b.ampEnded) * ampVelocity;
    filter_.blockSetup(in.cutoff, in.resonance, in.envAmount, filterVelocity,
                       envelopeValue(VoiceContext::filterEnvelope), sampleRate);
}

void Voice::openBlock(const VoiceRenderInput& in, float sampleRate) {
    Block b;
    if (in.mirror) {
        Settings s(*in.mirror);
        setupBlock(s, in, sampleRate, b);
    }
    resetNonFinite();
    blockOpen_ = true;
    blockAmpLevel_ = b.ampLevel;
    blockAmpEnded_ = b.ampEnded;
    blockFrames_ = 0;
}

// The voice-by-voice frame loop; sink(i, v, d) takes each frame's ladder input.
template <class Sink>
void Voice::renderFrames(int start, int end, float denormal, Sink&& sink) {
    Oscillator* osc = context_.oscillators.data();
    const float ampLevel = blockAmpLevel_;
    float d = denormal;
    for (int i = start; i < end; ++i) {
        d = -d;
        ampStage1_ = 0.9f * ampStage1_ + 0.1f * ampLevel;
        ampStage2_ = 0.9f * ampStage2_ + 0.1f * ampStage1_;
        float s1 = osc[0].active() ? osc[0].sample() : 0.0f;
        float s2 = osc[1].active() ? osc[1].sample() : 0.0f;
        float s3 = osc[2].active() ? osc[2].sample() : 0.0f;
        float v = proc_.process((s1 + s2) * mixScale, s3 * mixScale, d, random_);
        v *= ampStage2_;
        sink(i, v, d);
        for (int k = 0; k < 3; ++k)
            if (osc[k].gain() * ampStage2_ > 0.0f) osc[k].advance();
    }
}

bool Voice::closeBlock(float sampleRate) {
    blockOpen_ = false;
    finishBlock(blockFrames_, sampleRate);
    if (blockAmpEnded_) {
        context_.finishedMark = true;
        return false;
    }
    return true;
}

// The call that covers the note-off's frame reads the release levels, at the
// clock of that frame's sub-block, and the release starts when that sub-block
// ends, however the host cuts its blocks.
void Voice::countReleaseDelay(int frames) {
    if (!noteOffPending_ || releaseDue_) return;
    if (releaseDelay_ >= frames) {
        releaseDelay_ -= frames;
        return;
    }
    releaseDelay_ = 0;
    releaseDue_ = true;
    for (int slot = 0; slot < VoiceContext::envelopeCount; ++slot) {
        const Envelope* e = context_.envelope(slot);
        context_.releaseLevel[static_cast<std::size_t>(slot)] =
            e ? e->read(context_.noteClock, 0.0f, false, 0.0f).value : 0.0f;
    }
}

void Voice::finishBlock(int frames, float sampleRate) {
    context_.advanceClock(static_cast<float>(frames) * 100.0f / sampleRate);
    if (releaseDue_ && !releasing_) {
        releasing_ = true;
        context_.releaseTime = context_.noteClock;
    }
}

void Voice::resetNonFinite() {
    filter_.resetNonFinite();
    proc_.resetNonFinite();
    context_.vibrato.resetNonFinite();
    for (Oscillator& o : context_.oscillators) o.resetNonFinite();
    if (!finite(ampStage1_) || !finite(ampStage2_)) ampStage1_ = ampStage2_ = 0.0f;
}

} // namespace grelmond
