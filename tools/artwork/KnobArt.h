#pragma once

#include "Image.h"

namespace artwork {

inline constexpr int kKnobFrames = 92;
inline constexpr int kKnobWidth = 21;
inline constexpr int kKnobFrameHeight = 27;

// Pointer angle of a knob frame in degrees, counter-clockwise from the right:
// 225 at frame 0 (minimum), 90 halfway, -45 at the last frame.
double knobPointerDegrees(int frame);

// The knob strip: every frame a dark cap on the face with a value arc.
void drawKnobStrip(Image& image);

} // namespace artwork
