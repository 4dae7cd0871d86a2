#include "render/PitchShiftTap.h"

#include "render/PitchShiftLanes.h"
#include "render/SineTable.h"

#include <algorithm>

namespace grelmond {

namespace {

std::array<float, PitchShiftTap::kWeights> makeWeights()
{
    std::array<float, PitchShiftTap::kWeights> w{};
    for (int k = 0; k < PitchShiftTap::kWeights; ++k)
        w[static_cast<std::size_t>(k)] = SineTable::instance()[k] / 32767.0f;
    return w;
}

} // namespace

const std::array<float, PitchShiftTap::kWeights> PitchShiftTap::weights_ = makeWeights();

void PitchShiftTap::reset()
{
    ring_.fill(0.0f);
    writeIndex_ = 0;
    readPhase_ = 0.0f;
}

float PitchShiftTap::wrapped(float phase)
{
    phase = std::fmod(std::isfinite(phase) ? phase : 0.0f, static_cast<float>(kSize));
    if (phase < 0.0f)
        phase += kSize;
    if (phase >= kSize)
        phase = 0.0f;
    return phase;
}

template <class Lanes, class One>
void PitchShiftTap::runSpan(int frames, bool wide, Lanes&& lanes, One&& one)
{
    const int width = wide ? 8 : 4;
    PitchShiftLanes s{ring_.data(), weights_.data(), writeIndex_, readPhase_};
    int k = 0;
    for (;;) {
        k += lanes(s, k);
        writeIndex_ = s.writeIndex;
        readPhase_ = s.readPhase;
        // The rest of the span, or a group the lanes left to the frame-by-frame order.
        const int stop = std::min(k + width, frames);
        for (; k < stop; ++k)
            one(k);
        if (k >= frames)
            return;
        s.writeIndex = writeIndex_;
        s.readPhase = readPhase_;
    }
}

void PitchShiftTap::processSpan(const float* in, float* out, int frames, float mix, float ratio, bool wide)
{
    runSpan(frames, wide, [&](PitchShiftLanes& s, int k) {
        return wide ? s.run8(in + k, out + k, frames - k, mix, ratio) : s.run4(in + k, out + k, frames - k, mix, ratio);
    }, [&](int k) { out[k] = process(in[k], mix, ratio); });
}

void PitchShiftTap::addSpan(const float* in, float* sum, int frames, float mix, float ratio, float gain, bool wide)
{
    runSpan(frames, wide, [&](PitchShiftLanes& s, int k) {
        return wide ? s.add8(in + k, sum + k, frames - k, mix, ratio, gain)
                    : s.add4(in + k, sum + k, frames - k, mix, ratio, gain);
    }, [&](int k) { sum[k] += gain * process(in[k], mix, ratio); });
}

} // namespace grelmond
