#pragma once

#include <cairo.h>

namespace artwork {

// An opaque 24-bit picture being drawn; owns its cairo surface.
class Image {
public:
    Image(int width, int height);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    cairo_surface_t* surface() const { return surface_; }

    // Red, green and blue of one pixel, for checks and composites.
    void pixel(int x, int y, int& r, int& g, int& b) const;

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
};

} // namespace artwork
