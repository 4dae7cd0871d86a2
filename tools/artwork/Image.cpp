#include "Image.h"

#include <cstdint>

namespace artwork {

Image::Image(int width, int height, int scale)
    : width_(width), height_(height), scale_(scale),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width * scale, height * scale)) {}

Image::~Image() { cairo_surface_destroy(surface_); }

void Image::pixel(int x, int y, int& r, int& g, int& b) const {
    cairo_surface_flush(surface_);
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
    r = (p >> 16) & 0xff;
    g = (p >> 8) & 0xff;
    b = p & 0xff;
}

} // namespace artwork
