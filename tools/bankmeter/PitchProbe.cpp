#include "PitchProbe.h"

namespace bankmeter {

namespace {

// Parameter indices, three per oscillator at a stride of four.
constexpr int kCoarse = 1, kFine = 2, kVolume = 3, kOscStride = 4;
constexpr int kPitchDepth = 13, kFlangerMix = 22, kCopies = 28, kChorusMix = 31, kFilterBypass = 39;
constexpr int kFilterLfoDepth = 43, kLeftDelayMix = 50, kRightDelayMix = 54, kProcFunction = 57,
              kProcAmount = 58, kAmpAttack = 59, kAmpSustain = 61, kProcInvert = 30;

// "2 PitchMod Hi": with no amount it leaves the oscillators untouched.
constexpr float kNeutralFunction = 1.5f / 25.1f;

} // namespace

int lowestOscillator(const std::function<float(int)>& value)
{
    int lowest = -1;
    float lowestOffset = 0.0f;
    for (int k = 0; k < 3; ++k) {
        const int base = k * kOscStride;
        if (!(value(base + kVolume) > 0.0f))
            continue;
        // The semitone offset of the oscillator as a note-on takes it.
        const float offset = (value(base + kCoarse) - 0.5f) * 24.0f + (value(base + kFine) - 0.5f) * 2.0f;
        if (lowest < 0 || offset < lowestOffset) {
            lowest = k;
            lowestOffset = offset;
        }
    }
    return lowest;
}

std::vector<ParameterChange> pitchProbe(const std::function<float(int)>& value)
{
    const int keep = lowestOscillator(value);
    std::vector<ParameterChange> changes;
    for (int k = 0; k < 3; ++k) {
        if (k != keep)
            changes.emplace_back(k * kOscStride + kVolume, 0.0f);
    }
    for (int index :
         {kPitchDepth, kFlangerMix, kCopies, kChorusMix, kFilterLfoDepth, kLeftDelayMix, kRightDelayMix, kProcAmount,
          kProcInvert})
        changes.emplace_back(index, 0.0f);
    changes.emplace_back(kProcFunction, kNeutralFunction);
    changes.emplace_back(kFilterBypass, 1.0f);
    // Held at full level, so that plucks and percussion can be measured too.
    changes.emplace_back(kAmpAttack, 0.0f);
    changes.emplace_back(kAmpSustain, 1.0f);
    return changes;
}

} // namespace bankmeter
