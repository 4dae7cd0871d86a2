#include "gui/BitmapScaler.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {

struct Tap {
    int index;
    double weight;
};

// Which source pixels, by how much, make up each of `to` pixels along one axis of `from`.
std::vector<std::vector<Tap>> boxTaps(int from, int to)
{
    std::vector<std::vector<Tap>> taps(size_t(std::max(to, 0)));
    const double step = double(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * step;
        const double end = begin + step;
        for (int s = int(std::floor(begin)); s < end && s < from; ++s) {
            const double w = std::min(end, s + 1.0) - std::max(begin, double(s));
            if (w > 1e-9)
                taps[size_t(i)].push_back({s, w / step});
        }
    }
    return taps;
}

bool isKey(const uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

} // namespace

int BitmapScaler::scaled(int length, double scale) { return int(std::lround(length * scale)); }

BmpImage BitmapScaler::scaleFrames(const BmpImage& source, int frames, int frameWidth, int frameHeight)
{
    frames = std::max(frames, 1);
    const int sourceFrame = source.height() / frames;
    BmpImage out(frameWidth, frameHeight * frames);
    const auto across = boxTaps(source.width(), frameWidth);
    const auto down = boxTaps(sourceFrame, frameHeight);
    for (int f = 0; f < frames; ++f)
        for (int y = 0; y < frameHeight; ++y)
            for (int x = 0; x < frameWidth; ++x) {
                double sum[3] = {0, 0, 0};
                double solid = 0;
                for (const Tap& ty : down[size_t(y)])
                    for (const Tap& tx : across[size_t(x)]) {
                        const uint8_t* p = source.pixel(tx.index, f * sourceFrame + ty.index);
                        if (isKey(p))
                            continue;
                        const double w = ty.weight * tx.weight;
                        for (int c = 0; c < 3; ++c)
                            sum[c] += w * p[c];
                        solid += w;
                    }
                uint8_t* q = out.pixel(x, f * frameHeight + y);
                for (int c = 0; c < 3; ++c)
                    q[c] = solid < 0.5 ? 255 : uint8_t(std::lround(std::min(sum[c] / solid, 255.0)));
            }
    return out;
}

} // namespace grelmond
