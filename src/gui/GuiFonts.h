#pragma once

namespace grelmond {

struct GuiFontSpec {
    const char* face;
    int height; // pixels
    bool alwaysBold;
    bool decorative;
};

inline constexpr int kFontCount = 8;

// The font of an id; ids outside 0..7 mean 0.
const GuiFontSpec& fontSpec(int id);

} // namespace grelmond
