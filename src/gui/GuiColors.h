#pragma once

#include "gui/GuiTypes.h"

namespace grelmond {

// The toolkit's named colours, shared by every editor in the process.
inline constexpr GuiColor kColorBlack{0, 0, 0, 0};
inline constexpr GuiColor kColorWhite{255, 255, 255, 0};
inline constexpr GuiColor kColorGrey{127, 127, 127, 0};
inline constexpr GuiColor kColorRed{255, 0, 0, 0};
inline constexpr GuiColor kColorGreen{0, 255, 0, 0};
inline constexpr GuiColor kColorBlue{0, 0, 255, 0};
inline constexpr GuiColor kColorCyan{0, 255, 255, 0};
inline constexpr GuiColor kColorMagenta{255, 0, 255, 0};
inline constexpr GuiColor kColorWhiteOpaque{255, 255, 255, 255};
// Bitmap pixels of this colour are see-through when drawn colour-keyed.
inline constexpr GuiColor kColorTransparentKey{255, 255, 255, 0};

} // namespace grelmond
