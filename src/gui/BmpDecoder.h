#pragma once

#include <cairo.h>
#include <cstddef>
#include <cstdint>

namespace grelmond {

// Decodes an uncompressed 24-bit BMP file into an RGB24 image surface.
// Returns null for anything malformed, truncated or of another format.
cairo_surface_t* decodeBmp24(const uint8_t* data, size_t size);

} // namespace grelmond
