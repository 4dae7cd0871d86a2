#pragma once

#include "Image.h"

namespace artwork {

inline constexpr int kWaveFrames = 4;
inline constexpr int kWaveWidth = 21;
inline constexpr int kWaveFrameHeight = 26;

// The oscillator shape switch: sine, pulse, saw and square, each a small
// lit window with the wave and its word.
void drawWaveSwitch(Image& image);

} // namespace artwork
