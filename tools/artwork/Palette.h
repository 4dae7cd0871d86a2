#pragma once

// One palette for every picture of the editor. The face colour is the
// background of the value displays and text fields, so their frames vanish
// into the panel; the display text grey is the one they draw with.
namespace artwork {

struct Rgb {
    int r, g, b;
};

namespace palette {
inline constexpr Rgb face{164, 129, 61};
inline constexpr Rgb faceLight{196, 163, 96};
inline constexpr Rgb faceShadow{112, 85, 35};
inline constexpr Rgb ink{36, 24, 8};
inline constexpr Rgb displayText{200, 200, 200};

inline constexpr Rgb header{33, 27, 22};
inline constexpr Rgb headerEdge{74, 61, 47};
inline constexpr Rgb headerInk{228, 214, 184};
inline constexpr Rgb headerInkDim{150, 132, 104};

inline constexpr Rgb wood{72, 44, 25};
inline constexpr Rgb woodDark{52, 31, 17};
inline constexpr Rgb woodLight{94, 60, 35};

inline constexpr Rgb capDark{24, 21, 19};
inline constexpr Rgb capMid{66, 58, 51};
inline constexpr Rgb capEdge{10, 9, 8};
inline constexpr Rgb cream{238, 227, 200};
inline constexpr Rgb amber{255, 178, 54};
inline constexpr Rgb amberDim{92, 62, 30};
inline constexpr Rgb groove{58, 42, 16};

inline constexpr Rgb statusWell{0, 0, 0};
inline constexpr Rgb statusText{127, 127, 127};

// Colour-keyed pictures show what lies beneath wherever they are pure white.
inline constexpr Rgb transparentKey{255, 255, 255};
} // namespace palette

} // namespace artwork
