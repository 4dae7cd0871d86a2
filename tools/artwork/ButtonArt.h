#pragma once

#include "Image.h"

namespace artwork {

// Two-frame buttons: frame 0 released (or off), frame 1 pressed (or on).
void drawToggle(Image& image);                     // 16 x 32, lamp off and lit
void drawProgramArrow(Image& image, bool forward); // 19 x 38, left or right arrow
void drawLoadPatchButton(Image& image);            // 26 x 26, "1" and an open folder
void drawLoadBankButton(Image& image);             // 32 x 26, "64" and an open folder
void drawSaveButton(Image& image);                 // 13 x 26, a disk

} // namespace artwork
