#include "render/InstanceRenderer.h"

#include "engine/Voice.h"
#include "params/ParameterMirror.h"
#include "params/RenderValues.h"
#include "engine/EngineHolder.h"
#include "engine/Multi.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {
// Parameter indices the render loop reads beyond the named ones.
constexpr ParameterId kPitchRate = 12;
constexpr ParameterId kFlangerMix = 22;
constexpr ParameterId kFilterEnvAmount = 23;
constexpr ParameterId kFlangerDepth = 33;
constexpr ParameterId kFlangerFreq = 34;
constexpr ParameterId kChorusDepth = 41;
constexpr ParameterId kFilterLfoDepth = 43;
constexpr ParameterId kResonance = 47;
constexpr ParameterId kProcFunction = 57;
constexpr ParameterId kDelayFirst[2] = {param::kLeftDelayTime, param::kRightDelayTime}; // time, mix, feed, sync
} // namespace

InstanceRenderer::InstanceRenderer(const ParameterMirror& mirror, const RenderValues& values, Host& host)
    : mirror_(mirror), values_(values), host_(host)
{
}

InstanceRenderer::~InstanceRenderer()
{
    // Voices go back to the store before the engine that owns them is freed.
    if (engine_ != nullptr)
        midi_.pool().clear();
}

void InstanceRenderer::attach(EngineHolder& engine)
{
    engine_ = &engine;
    midi_.attach(engine.store(), &loop_.keyDepth(), &host_, &tuning_);
}

void InstanceRenderer::reset()
{
    loop_.reset();
}

void InstanceRenderer::handleEvents(const MidiEvent* events, int count)
{
    takeTuning();
    if (events == nullptr)
        return;
    for (int i = 0; i < count; ++i) {
        // Nothing comes before an event at the block's start: it acts now,
        // where the render would play it first.
        if (events_.empty() && events[i].frame <= 0) {
            midi_.handleEvents(&events[i], 1);
            continue;
        }
        if (events_.add(events[i]))
            continue;
        // Full: what is held plays now, at its frames as start and release
        // delays, so nothing is lost and the order holds.
        playAll(0);
        if (!events_.add(events[i]))
            midi_.handleEvents(&events[i], 1);
    }
}

void InstanceRenderer::render(float** outputs, int frames, double sampleRate, RenderLoop::Mode mode)
{
    takeTuning();
    if (outputs == nullptr || outputs[0] == nullptr || outputs[1] == nullptr || frames <= 0) {
        playAll(0);
        return;
    }
    // The render stops at each event's frame: a controller, a program or a
    // note then takes effect where it would with a host block starting there.
    for (int position = 0; position < frames;) {
        playDue(position);
        const int end = events_.empty() ? frames : std::min(events_.nextFrame(), frames);
        loop_.render(*this, outputs[0] + position, outputs[1] + position, end - position, sampleRate, mode);
        position = end;
    }
    // Frames beyond the block count on into the next ones, as delays.
    playAll(frames);
}

void InstanceRenderer::playDue(int position)
{
    while (!events_.empty() && events_.nextFrame() <= position) {
        MidiEvent event = events_.take();
        event.frame = 0;
        midi_.handleEvents(&event, 1);
    }
}

void InstanceRenderer::playAll(int position)
{
    while (!events_.empty()) {
        MidiEvent event = events_.take();
        event.frame = std::max(event.frame, 0) - position;
        midi_.handleEvents(&event, 1);
    }
}

void InstanceRenderer::readSettings(RenderSettings& s)
{
    const RenderValues& v = values_;
    s.pitchRate = v.get(kPitchRate);
    s.pitchDepth = v.get(param::kPitchDepth);
    s.flangerRate = v.flangerRate();
    s.flangerRandom = v.get(param::kFlangerSync);
    s.filterLfoRate = v.filterLfoRate();
    s.filterLfoDepth = v.get(kFilterLfoDepth);
    s.cutoff = v.filterCutoff();
    s.resonance = v.get(kResonance);
    s.filterEnvAmount = v.get(kFilterEnvAmount);
    s.glide = v.get(param::kKeyGlide);
    s.ensembleCopies = (v.oscillatorCount() - 3) / 3;
    s.detune = v.detuneAmount();
    s.procFunction = static_cast<int>(v.get(kProcFunction) * 25.1f);
    s.flanger = {v.get(kFlangerMix), v.get(kFlangerFreq), v.get(kFlangerDepth), v.flangerFeedback()};
    s.chorusMix = v.chorusMix();
    s.chorusRate = v.chorusRate();
    s.chorusDepth = v.get(kChorusDepth);
    // Each length before its restart count: a length set by a delay-time
    // change comes with the restart that change asked for.
    s.delay[0].length = v.leftDelayLength();
    s.delay[0].restarts = v.leftDelayRestarts();
    s.delay[1].length = v.rightDelayLength();
    s.delay[1].restarts = v.rightDelayRestarts();
    for (int side = 0; side < 2; ++side) {
        const ParameterId first = kDelayFirst[side];
        s.delay[side].time = mirror_.get(first);
        s.delay[side].mix = v.get(first + 1);
        s.delay[side].feedback = v.get(first + 2);
        s.delay[side].sync = v.get(first + 3);
    }
    s.volumeGain = v.mainGain();
}

void InstanceRenderer::renderVoices(float* left, float* right, const VoiceChunk& chunk)
{
    VoicePool& pool = midi_.pool();
    pool.removeFinished();
    VoiceRenderInput input;
    input.frames = chunk.frames;
    input.chunkLeft = chunk.chunkLeft;
    input.sampleRate = chunk.sampleRate;
    input.outOffset = 0;
    input.cutoff = chunk.cutoff;
    input.resonance = chunk.resonance;
    input.envAmount = chunk.envAmount;
    input.pitchMod = chunk.pitchMod;
    input.denormal = chunk.denormal;
    input.mirror = &mirror_;
    input.keyDepth = loop_.keyDepth().value();
    input.tuning = &tuning_;
    pool.renderAll(left, right, input);
}

// The frame is the voices' sum after the effects, so no one voice can be told
// from the others: every sounding voice starts its filters afresh.
void InstanceRenderer::clearVoiceFilters()
{
    VoicePool& pool = midi_.pool();
    for (int i = 0; i < pool.size(); ++i)
        pool[i]->clearRecursiveState();
}

} // namespace grelmond
