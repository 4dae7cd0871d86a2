#pragma once

namespace grelmond {

class GuiBitmap;

// The editor's pictures at a display scale: the 1x resource at 1, the one
// drawn at twice the density at 2, and that one filtered down, frame by frame,
// for the factors between. A 1x picture is never enlarged while a 2x one exists.
class ScaledBitmap {
public:
    // The resource id of a picture's 2x version.
    static constexpr int kDoubleIdOffset = 1000;

    // A new bitmap (the caller holds its reference) whose frames measure the 1x
    // frames times scale, rounded; frames is how many the strip holds.
    static GuiBitmap* load(int resourceId, double scale, int frames = 1);
};

} // namespace grelmond
