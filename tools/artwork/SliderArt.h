#pragma once

#include "Image.h"

namespace artwork {

// Tracks are opaque and fill the whole slider; handles are drawn colour-keyed,
// so their cut corners are pure white and show the track beneath.
void drawHorizontalTrack(Image& image); // 121 x 11
void drawVerticalTrack(Image& image);   // 11 x 73
void drawHorizontalHandle(Image& image); // 11 x 11, grip line upright
void drawVerticalHandle(Image& image);   // 11 x 11, grip line level

} // namespace artwork
