#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace grelmond {

// The pixels of an uncompressed 24-bit BMP, top row first, three bytes (blue,
// green, red) per pixel without row padding.
class BmpImage {
public:
    BmpImage(int width, int height);

    // A BMP file, or a bare bitmap (its info header first, as a library
    // resource holds it). Nothing for anything malformed, cut short or of another format.
    static std::optional<BmpImage> parse(const uint8_t* data, size_t size);
    // As an uncompressed 24-bit BMP file.
    std::vector<uint8_t> encode() const;

    int width() const { return width_; }
    int height() const { return height_; }
    uint8_t* pixel(int x, int y) { return &pixels_[(size_t(y) * size_t(width_) + size_t(x)) * 3]; }
    const uint8_t* pixel(int x, int y) const { return &pixels_[(size_t(y) * size_t(width_) + size_t(x)) * 3]; }

private:
    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
};

} // namespace grelmond
