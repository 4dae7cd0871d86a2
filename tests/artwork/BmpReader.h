#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the uncompressed 24-bit BMP files of the editor artwork.
struct BmpPicture {
    bool loaded = false;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int compression = -1;
    bool sizeConsistent = false; // file size matches header and padded rows
    std::vector<uint8_t> rgb;    // top-down, 3 bytes per pixel

    struct Pixel {
        int r, g, b;
        bool operator==(const Pixel&) const = default;
    };
    Pixel at(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
    bool isWhite(int x, int y) const { return at(x, y) == Pixel{255, 255, 255}; }
};

BmpPicture readBmp(const std::string& path);
std::vector<uint8_t> readBytes(const std::string& path);
