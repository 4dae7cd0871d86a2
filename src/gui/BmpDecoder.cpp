#include "gui/BmpDecoder.h"

#include <cstring>

namespace grelmond {

namespace {
uint32_t readU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
constexpr int kMaxSide = 16384;
} // namespace

cairo_surface_t* decodeBmp24(const uint8_t* data, size_t size)
{
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M')
        return nullptr;
    const uint32_t pixelOffset = readU32(data + 10);
    const uint32_t headerSize = readU32(data + 14);
    if (headerSize < 40)
        return nullptr;
    const int32_t width = static_cast<int32_t>(readU32(data + 18));
    const int32_t rawHeight = static_cast<int32_t>(readU32(data + 22));
    const uint16_t bitsPerPixel = readU16(data + 28);
    const uint32_t compression = readU32(data + 30);
    if (bitsPerPixel != 24 || compression != 0 || width <= 0 || width > kMaxSide || rawHeight == 0 ||
        rawHeight < -kMaxSide || rawHeight > kMaxSide)
        return nullptr;
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    if (pixelOffset > size || size - pixelOffset < stride * size_t(height))
        return nullptr;

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    uint8_t* out = cairo_image_surface_get_data(surface);
    const int outStride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data + pixelOffset + stride * size_t(topDown ? y : height - 1 - y);
        auto* dst = reinterpret_cast<uint32_t*>(out + size_t(y) * outStride);
        for (int x = 0; x < width; ++x) {
            const uint8_t* px = row + x * 3; // blue, green, red
            dst[x] = 0xFF000000u | (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

} // namespace grelmond
