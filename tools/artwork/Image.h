#pragma once

#include <cairo.h>

namespace artwork {

// An opaque 24-bit picture being drawn; owns its cairo surface. Drawing code
// works in the 1x picture's units; a scale of 2 gives a surface twice as wide
// and high, drawn again at that density rather than enlarged.
class Image {
public:
    Image(int width, int height, int scale = 1);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    int scale() const { return scale_; }
    int pixelWidth() const { return width_ * scale_; }
    int pixelHeight() const { return height_ * scale_; }
    cairo_surface_t* surface() const { return surface_; }

    // Red, green and blue of one pixel, for checks and composites.
    void pixel(int x, int y, int& r, int& g, int& b) const;

private:
    int width_;
    int height_;
    int scale_;
    cairo_surface_t* surface_;
};

} // namespace artwork
