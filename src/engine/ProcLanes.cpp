#include "engine/ProcLanes.h"

#include "engine/EngineRandom.h"
#include "engine/ProcProcessor.h"

#include <algorithm>

namespace grelmond {

ProcLanes::ProcLanes(int maxFrames)
    : draws(static_cast<std::size_t>(maxFrames) * kDrawsPerFrame * kLanes, 0.0f),
      raw_(draws.size() / kLanes, 0),
      scratchRing_(ProcProcessor::ringSize, 0.0f)
{
    for (int lane = 0; lane < kLanes; ++lane)
        clear(lane);
}

bool ProcLanes::handles(int function)
{
    // The band-pass banks alone have lanes of their own.
    return function >= 0 && function < ProcProcessor::functionCount
        && (function == 9 || !ProcBandPassBank::handles(function));
}

void ProcLanes::load(int lane, ProcProcessor& proc, float denormal)
{
    procLevel[lane] = proc.procLevel_;
    procEnv[lane] = proc.procEnv_;
    keyDepth[lane] = proc.keyDepth_;
    m[lane] = proc.m_;
    flangerGain[lane] = proc.flangerFeedbackGain_;
    increment[lane] = proc.osc1Increment_;
    ap[lane] = proc.ap_;
    counter[lane] = proc.counter_;
    carrierCounter[lane] = proc.carrierCounter_;
    ringExponents[lane] = static_cast<std::int32_t>(proc.ringExponents_);
    flangerFeedback[lane] = proc.flangerFeedback_;
    carrierPhase[lane] = proc.carrierPhase_;
    chaos[lane] = proc.chaosState_;
    p1[lane] = proc.p1_;
    p2[lane] = proc.p2_;
    xp[lane] = proc.phaserXp_;
    a1[lane] = proc.phaserA1_;
    a2[lane] = proc.phaserA2_;
    phaserFeedback[lane] = proc.phaserFeedback_;
    d[lane] = denormal;
    ring[lane] = proc.ring_.data();
    const ProcBandPassBank& bank = proc.bank_;
    for (int k = 0; k < 2; ++k) {
        cb0[k][lane] = bank.coeffs_[k].b0;
        cb1[k][lane] = bank.coeffs_[k].b1;
        cb2[k][lane] = bank.coeffs_[k].b2;
        ca1[k][lane] = bank.coeffs_[k].a1;
        ca2[k][lane] = bank.coeffs_[k].a2;
    }
    for (int k = 0; k < 4; ++k) {
        const BandPassHistory& h = k < 2 ? bank.histories_[k] : bank.distortionHistories_[k - 2];
        hx1[k][lane] = h.x1;
        hx2[k][lane] = h.x2;
        hy1[k][lane] = h.y1;
        hy2[k][lane] = h.y2;
    }
}

void ProcLanes::draw(int lane, int frames, EngineRandom& random)
{
    const int perFrame = function == 9 ? 2 : (function == 10 ? 1 : 0);
    frames = std::min(frames, static_cast<int>(raw_.size()) / kDrawsPerFrame);
    if (perFrame == 0 || frames <= 0)
        return;
    random.nextMany(raw_.data(), frames * perFrame);
    float* out = draws.data() + lane;
    for (int i = 0; i < frames; ++i) {
        if (function == 9) {
            out[(i * kDrawsPerFrame) * kLanes] = static_cast<float>(raw_[2 * i] & 65535) / 65535.0f;
            out[(i * kDrawsPerFrame + 1) * kLanes] = static_cast<float>(raw_[2 * i + 1] & 65535) / 65535.0f;
        } else {
            out[(i * kDrawsPerFrame) * kLanes] = static_cast<float>(raw_[i] & 65535) / 1360000.0f;
        }
    }
}

void ProcLanes::store(int lane, ProcProcessor& proc) const
{
    proc.counter_ = counter[lane];
    proc.carrierCounter_ = carrierCounter[lane];
    proc.flangerFeedback_ = flangerFeedback[lane];
    proc.carrierPhase_ = carrierPhase[lane];
    proc.chaosState_ = chaos[lane];
    proc.p1_ = p1[lane];
    proc.p2_ = p2[lane];
    proc.phaserXp_ = xp[lane];
    proc.phaserA1_ = a1[lane];
    proc.phaserA2_ = a2[lane];
    proc.phaserFeedback_ = phaserFeedback[lane];
    proc.ringExponents_ = static_cast<std::uint32_t>(ringExponents[lane]);
    ProcBandPassBank& bank = proc.bank_;
    for (int k = 0; k < 4; ++k) {
        BandPassHistory& h = k < 2 ? bank.histories_[k] : bank.distortionHistories_[k - 2];
        h.x1 = hx1[k][lane];
        h.x2 = hx2[k][lane];
        h.y1 = hy1[k][lane];
        h.y2 = hy2[k][lane];
    }
}

void ProcLanes::clear(int lane)
{
    for (float* p : {procLevel, procEnv, keyDepth, m, flangerGain, increment, ap, flangerFeedback, carrierPhase,
                     chaos, p1, p2, xp, a1, a2, phaserFeedback, d})
        p[lane] = 0.0f;
    counter[lane] = carrierCounter[lane] = ringExponents[lane] = 0;
    for (int k = 0; k < 2; ++k)
        cb0[k][lane] = cb1[k][lane] = cb2[k][lane] = ca1[k][lane] = ca2[k][lane] = 0.0f;
    for (int k = 0; k < 4; ++k)
        hx1[k][lane] = hx2[k][lane] = hy1[k][lane] = hy2[k][lane] = 0.0f;
    ring[lane] = scratchRing_.data();
}

} // namespace grelmond
