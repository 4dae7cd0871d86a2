#include "BmpFile.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace artwork {

namespace {
void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}
} // namespace

bool writeBmp(const Image& image, const std::string& path) {
    const int w = image.pixelWidth();
    const int h = image.pixelHeight();
    const uint32_t rowBytes = (w * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * h;
    const uint32_t headerBytes = 14 + 40;

    std::vector<uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + pixelBytes);
    put32(out, 0);
    put32(out, headerBytes);
    put32(out, 40);
    put32(out, w);
    put32(out, h); // positive height: rows stored bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            int r, g, b;
            image.pixel(x, y, r, g, b);
            out.push_back(b);
            out.push_back(g);
            out.push_back(r);
        }
        for (uint32_t pad = w * 3; pad < rowBytes; ++pad) out.push_back(0);
    }

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace artwork
