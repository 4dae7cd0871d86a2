#include "BmpReader.h"

#include <fstream>
#include <iterator>

namespace {
uint32_t le32(const std::vector<uint8_t>& d, size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& d, size_t at) { return static_cast<uint16_t>(d[at] | d[at + 1] << 8); }
} // namespace

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

BmpPicture readBmp(const std::string& path) {
    BmpPicture pic;
    const std::vector<uint8_t> d = readBytes(path);
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M' || le32(d, 14) < 40) return pic;
    pic.width = static_cast<int32_t>(le32(d, 18));
    pic.height = static_cast<int32_t>(le32(d, 22));
    pic.bitsPerPixel = le16(d, 28);
    pic.compression = static_cast<int>(le32(d, 30));
    if (pic.width <= 0 || pic.height <= 0 || pic.bitsPerPixel != 24) return pic;
    const size_t offset = le32(d, 10);
    const size_t rowBytes = (static_cast<size_t>(pic.width) * 3 + 3) & ~size_t{3};
    const size_t needed = offset + rowBytes * pic.height;
    pic.sizeConsistent = le32(d, 2) == d.size() && needed == d.size();
    if (needed > d.size()) return pic;
    pic.rgb.resize(static_cast<size_t>(pic.width) * pic.height * 3);
    for (int y = 0; y < pic.height; ++y) {
        const size_t row = offset + rowBytes * (pic.height - 1 - y); // stored bottom-up
        for (int x = 0; x < pic.width; ++x) {
            const size_t src = row + x * 3, dst = (static_cast<size_t>(y) * pic.width + x) * 3;
            pic.rgb[dst] = d[src + 2];
            pic.rgb[dst + 1] = d[src + 1];
            pic.rgb[dst + 2] = d[src];
        }
    }
    pic.loaded = true;
    return pic;
}
