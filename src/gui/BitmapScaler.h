#pragma once

#include "gui/BmpImage.h"

namespace grelmond {

// Resizes a strip of equal frames stacked from the top, frame by frame, so that
// no frame bleeds into the next. Each target pixel is the area-weighted mean of
// the source pixels it covers (a box filter, right for shrinking the 2x pictures);
// the transparent key colour is never blended: a pixel mostly covered by it
// stays the key, the others average only the pixels that are not.
class BitmapScaler {
public:
    static BmpImage scaleFrames(const BmpImage& source, int frames, int frameWidth, int frameHeight);

    // The size of a length of the 1x picture at a scale, as every part of the editor rounds it.
    static int scaled(int length, double scale);
};

} // namespace grelmond
