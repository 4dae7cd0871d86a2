#include "gui/BmpImage.h"

#include <cstdlib>
#include <cstring>

namespace grelmond {

namespace {

constexpr int kMaxSide = 16384;
constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;

uint32_t readU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

} // namespace

BmpImage::BmpImage(int width, int height) : width_(width), height_(height), pixels_(size_t(width) * height * 3) {}

std::optional<BmpImage> BmpImage::parse(const uint8_t* data, size_t size)
{
    if (data == nullptr || size < kInfoHeader)
        return std::nullopt;
    const bool file = data[0] == 'B' && data[1] == 'M';
    const size_t header = file ? kFileHeader : 0;
    if (size < header + kInfoHeader)
        return std::nullopt;
    const uint8_t* info = data + header;
    const uint32_t infoSize = readU32(info);
    if (infoSize < kInfoHeader || infoSize > size - header)
        return std::nullopt;
    const auto width = static_cast<int32_t>(readU32(info + 4));
    const auto height = static_cast<int32_t>(readU32(info + 8));
    if (width <= 0 || width > kMaxSide || height == 0 || std::abs(height) > kMaxSide)
        return std::nullopt;
    if (readU16(info + 12) != 1 || readU16(info + 14) != 24 || readU32(info + 16) != 0)
        return std::nullopt;
    const size_t offset = file ? readU32(data + 10) : header + infoSize;
    const size_t rowBytes = (size_t(width) * 3 + 3) & ~size_t(3);
    const int rows = std::abs(height);
    if (offset > size || size - offset < rowBytes * size_t(rows))
        return std::nullopt;
    BmpImage image(width, rows);
    for (int y = 0; y < rows; ++y) {
        const int stored = height > 0 ? rows - 1 - y : y; // positive height: bottom row first
        std::memcpy(image.pixel(0, y), data + offset + size_t(stored) * rowBytes, size_t(width) * 3);
    }
    return image;
}

std::vector<uint8_t> BmpImage::encode() const
{
    const uint32_t rowBytes = (uint32_t(width_) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * uint32_t(height_);
    const uint32_t headers = kFileHeader + kInfoHeader;
    std::vector<uint8_t> out;
    out.reserve(headers + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, headers + pixelBytes);
    put32(out, 0);
    put32(out, headers);
    put32(out, kInfoHeader);
    put32(out, uint32_t(width_));
    put32(out, uint32_t(height_));
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (int y = height_ - 1; y >= 0; --y) {
        const uint8_t* row = pixel(0, y);
        out.insert(out.end(), row, row + size_t(width_) * 3);
        out.resize(out.size() + (rowBytes - uint32_t(width_) * 3), 0);
    }
    return out;
}

} // namespace grelmond
