#include "engine/OscillatorPitch.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace OscillatorPitch {

namespace {
constexpr float separation = 0.01f;
// Beyond any pitch the voice can ask for; bounds the folding loop.
constexpr float foldLimit = 240.0f;
} // namespace

float key(int note, float coarseValue) {
    float k = static_cast<float>(note) + (coarseValue - 0.5f) * 24.0f;
    return std::isfinite(k) ? std::clamp(k, 0.0f, 127.0f) : 0.0f;
}

int shapeClass(float shapeValue) {
    float s = shapeValue * 3.1f;
    if (!(s > 0.0f)) return 0;
    return std::min(static_cast<int>(s), 3);
}

WaveChoice choose(int shape, float key) {
    if (shape <= 0) return {sineWaveform, sineReference};
    int band = key >= 88.0f ? 5 : key >= 76.0f ? 4 : key >= 64.0f ? 3 : key >= 52.0f ? 2 : 1;
    return {(shape - 1) * bandsPerShape + band, 45 + (band - 1) * 12};
}

int semitoneOffset(float key, int reference) { return static_cast<int>(key - static_cast<float>(reference)); }

void fineOffsets(const float fine[3], float pitchOffset[3]) {
    for (int k = 0; k < 3; ++k) pitchOffset[k] = (fine[k] - 0.5f) * 2.0f;
    if (std::fabs(fine[0] - fine[1]) < separation) pitchOffset[1] -= separation;
    if (std::fabs(fine[0] - fine[2]) < separation) pitchOffset[2] += separation;
    if (std::fabs(fine[1] - fine[2]) < separation) pitchOffset[2] += separation;
}

Fold octaveFold(float g) {
    g = std::isfinite(g) ? std::clamp(g, -foldLimit, foldLimit) : 0.0f;
    float h = 1.0f;
    while (g > 12.0f || g < 0.0f) {
        if (g > 11.0f) {
            g -= 12.0f;
            h *= 2.0f;
        } else {
            g += 12.0f;
            h /= 2.0f;
        }
    }
    return {g, h};
}

} // namespace OscillatorPitch

} // namespace grelmond
