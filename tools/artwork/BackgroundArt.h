#pragma once

#include "Image.h"

namespace artwork {

inline constexpr int kBackgroundWidth = 629;
inline constexpr int kBackgroundHeight = 484;

// The editor's panel: wooden cheeks, the dark top strip with the product
// name and the patch row, the face with every section title and caption
// beside its control, and the dark status strip.
void drawBackground(Image& image);

} // namespace artwork
