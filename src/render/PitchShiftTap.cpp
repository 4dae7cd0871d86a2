#include "render/PitchShiftTap.h"

#include "render/SineTable.h"

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

void PitchShiftTap::wrapReadPhase()
{
    readPhase_ = std::fmod(std::isfinite(readPhase_) ? readPhase_ : 0.0f, static_cast<float>(kSize));
    if (readPhase_ < 0.0f)
        readPhase_ += kSize;
    if (readPhase_ >= kSize)
        readPhase_ = 0.0f;
}

} // namespace grelmond
