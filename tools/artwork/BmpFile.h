#pragma once

#include "Image.h"

#include <string>

namespace artwork {

// Writes the image as an uncompressed 24-bit bottom-up BMP, the form the
// plug-in embeds. Returns false if the file cannot be written.
bool writeBmp(const Image& image, const std::string& path);

} // namespace artwork
