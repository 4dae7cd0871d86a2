#include "render/RenderLoop.h"

#include "engine/DenormalOffset.h"
#include "engine/SimdPath.h"
#include "render/PitchLfo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace grelmond {

namespace {

bool referenceEffectsAsked()
{
    const char* asked = std::getenv("GRELMOND_EFFECTS");
    return asked != nullptr && std::strcmp(asked, "reference") == 0;
}

} // namespace

RenderLoop::RenderLoop()
    : referenceEffects_(referenceEffectsAsked()), wideLanes_(chooseSimdPath() == SimdPath::Avx2)
{
    reset();
}

int RenderLoop::chunkSize(double sampleRate)
{
    const double frames = std::trunc(sampleRate / 100.0);
    if (!(frames >= 1.0))
        return 1;
    return static_cast<int>(std::min(frames, static_cast<double>(kMaxChunk)));
}

void RenderLoop::reset()
{
    flangerLfo_.reset();
    filterLfo_.reset();
    keyDepth_.reset();
    ensemble_.reset();
    flanger_.reset();
    chorus_.reset();
    for (auto& delay : delays_)
        delay.reset();
    sync_.reset();
    volume_.reset();
}

void RenderLoop::setSampleRate(double sampleRate)
{
    for (auto& delay : delays_)
        delay.setCapacity(DelayLine::capacityFor(sampleRate));
}

void RenderLoop::render(RenderClient& client, float* left, float* right, int frames, double sampleRate, Mode mode)
{
    if (frames <= 0 || left == nullptr || right == nullptr)
        return;
    for (int pos = 0; pos < frames;) {
        if (chunkDone_ == 0)
            beginChunk(client, sampleRate);
        const int m = std::min(chunkLength_ - chunkDone_, frames - pos);
        renderSpan(client, scratchL_.data(), scratchR_.data(), m);
        if (mode == Mode::Replace) {
            std::copy_n(scratchL_.data(), m, left + pos);
            std::copy_n(scratchR_.data(), m, right + pos);
        } else {
            for (int i = 0; i < m; ++i) {
                left[pos + i] += scratchL_[i];
                right[pos + i] += scratchR_[i];
            }
        }
        pos += m;
        chunkDone_ += m;
        if (chunkDone_ == chunkLength_)
            chunkDone_ = 0;
    }
}

// Everything done once per chunk; a chunk keeps the rate it began with.
void RenderLoop::beginChunk(RenderClient& client, double sampleRate)
{
    chunkLength_ = chunkSize(sampleRate);
    chunkFill_ = DenormalOffset::before(sampleCounter_);
    client.readSettings(settings_);
    chunkVoices_ = VoiceChunk{};
    setupChunk(client, settings_, sampleRate, chunkLength_, chunkVoices_);
    ensemble_.setup(settings_.ensembleCopies, settings_.detune);
    chorus_.setup(sampleCounter_ / chunkLength_, settings_.chorusRate);
}

void RenderLoop::renderSpan(RenderClient& client, float* left, float* right, int frames)
{
    // The effect settings follow the host from block to block, as the voices and
    // LFOs follow it from chunk to chunk.
    if (chunkDone_ > 0)
        client.readSettings(settings_);
    std::fill_n(left, frames, chunkFill_);
    std::fill_n(right, frames, chunkFill_);
    VoiceChunk voices = chunkVoices_;
    voices.frames = frames;
    voices.denormal = DenormalOffset::before(sampleCounter_);
    voices.chunkLeft = chunkLength_ - chunkDone_;
    client.renderVoices(left, right, voices);
    if (!processFrames(left, right, frames, settings_))
        client.clearVoiceFilters();
}

void RenderLoop::setupChunk(RenderClient& client, const RenderSettings& s, double sampleRate, int chunk,
                            VoiceChunk& voice)
{
    const std::int64_t h = sampleCounter_ / chunk;
    if (s.delay[0].sync != 0.0f || s.delay[1].sync != 0.0f) {
        double tempo = 0.0;
        if (client.hostTempo(tempo))
            sync_.update(sampleRate, tempo, s.delay[0].time, s.delay[1].time);
    }
    voice.pitchMod = PitchLfo::value(h, s.pitchRate, s.pitchDepth);
    flangerLfo_.setup(h, s.flangerRate, s.flangerRandom);
    filterLfo_.setup(h, s.filterLfoRate);
    voice.cutoff = filterLfo_.modulatedCutoff(s.cutoff, s.filterLfoDepth);
    voice.resonance = s.resonance;
    voice.envAmount = s.filterEnvAmount;
    voice.sampleRate = static_cast<int>(std::clamp(sampleRate, 1.0, 1.0e7));
    keyDepth_.glide(s.glide);
    volume_.setup(s.volumeGain, sampleRate);
}

int RenderLoop::activeDelayLength(int side, const RenderSettings& s) const
{
    const DelayLine& delay = delays_[static_cast<std::size_t>(side)];
    const int unsynced = delay.clampLength(s.delay[side].length);
    return s.delay[side].sync != 0.0f ? delay.clampLength(sync_.length(side, unsynced)) : unsynced;
}

bool RenderLoop::processFrames(float* left, float* right, int frames, const RenderSettings& s)
{
    if (referenceEffects_)
        return processFramesInTurn(left, right, frames, s);
    // Each unit runs over the whole span before the next: every unit sees the
    // frames in order and its state depends on nothing after it, so the sound
    // is the reference's, and the loops keep their state in registers.

    const int lengthL = activeDelayLength(0, s);
    const int lengthR = activeDelayLength(1, s);
    delays_[0].prepare(frames, lengthL, s.delay[0].restarts);
    delays_[1].prepare(frames, lengthR, s.delay[1].restarts);
    float* offset = offsets_.data();
    float d = DenormalOffset::before(sampleCounter_);
    for (int i = 0; i < frames; ++i) {
        d = -d;
        offset[i] = d;
        left[i] = d + left[i];
        right[i] = d + right[i];
    }
    ensemble_.processSpan(left, right, frames, wideLanes_);
    sampleCounter_ += frames;
    if (s.flanger.mix > 0.0f && s.procFunction != 0) {
        flanger_.processSpan(left, right, frames, s.flanger, flangerLfo_, offset);
    } else {
        for (int i = 0; i < frames; ++i)
            flangerLfo_.step();
    }
    if (s.chorusMix > 0.0f)
        chorus_.processSpan(left, right, frames, s.chorusMix, s.chorusDepth, wideLanes_);
    delays_[0].processSpan(left, frames, s.delay[0].mix, s.delay[0].feedback, lengthL, offset);
    delays_[1].processSpan(right, frames, s.delay[1].mix, s.delay[1].feedback, lengthR, offset);

    // A steady volume is one gain for the span; the runaway check then scans
    // the span once and silences frames only when one is found.
    if (volume_.gliding()) {
        for (int i = 0; i < frames; ++i) {
            const float gain = volume_.next();
            left[i] = (offset[i] + left[i]) * gain;
            right[i] = (offset[i] + right[i]) * gain;
        }
    } else {
        const float gain = volume_.next();
        for (int i = 0; i < frames; ++i) {
            left[i] = (offset[i] + left[i]) * gain;
            right[i] = (offset[i] + right[i]) * gain;
        }
    }
    bool clean = true;
    for (int i = 0; i < frames; ++i)
        clean &= (std::fabs(left[i]) <= RenderLoop::kRunaway) & (std::fabs(right[i]) <= RenderLoop::kRunaway);
    if (clean)
        return true;
    for (int i = 0; i < frames; ++i) {
        if (!(std::fabs(left[i]) <= RenderLoop::kRunaway) || !(std::fabs(right[i]) <= RenderLoop::kRunaway)) {
            left[i] = right[i] = 0.0f;
            ++silencedFrames_;
        }
    }
    resetEffects();
    return false;
}

bool RenderLoop::processFramesInTurn(float* left, float* right, int frames, const RenderSettings& s)
{
    const bool flangerOn = s.flanger.mix > 0.0f && s.procFunction != 0;
    const bool chorusOn = s.chorusMix > 0.0f;
    const int lengthL = activeDelayLength(0, s);
    const int lengthR = activeDelayLength(1, s);
    delays_[0].prepare(frames, lengthL, s.delay[0].restarts);
    delays_[1].prepare(frames, lengthR, s.delay[1].restarts);
    bool broken = false;

    for (int i = 0; i < frames; ++i) {
        const float denormal = -DenormalOffset::before(sampleCounter_);
        const float mod = flangerLfo_.step();
        float xL = denormal + left[i];
        float xR = denormal + right[i];
        ensemble_.process(xL, xR);
        ++sampleCounter_;
        if (flangerOn)
            flanger_.process(xL, xR, s.flanger, mod, denormal);
        if (chorusOn)
            chorus_.process(xL, xR, s.chorusMix, s.chorusDepth);
        const float yL = delays_[0].process(xL, s.delay[0].mix, s.delay[0].feedback, lengthL, denormal);
        const float yR = delays_[1].process(xR, s.delay[1].mix, s.delay[1].feedback, lengthR, denormal);
        const float gain = volume_.next();
        left[i] = (denormal + yL) * gain;
        right[i] = (denormal + yR) * gain;
        if (!(std::fabs(left[i]) <= RenderLoop::kRunaway) || !(std::fabs(right[i]) <= RenderLoop::kRunaway)) {
            left[i] = right[i] = 0.0f;
            ++silencedFrames_;
            broken = true;
        }
    }
    if (!broken)
        return true;
    resetEffects();
    return false;
}

// A non-finite or runaway value would otherwise circulate in the rings and
// delays for good.
void RenderLoop::resetEffects()
{
    ensemble_.reset();
    flanger_.reset();
    chorus_.reset();
    for (auto& delay : delays_)
        delay.reset();
}

} // namespace grelmond
