#include "gui/ScaledBitmap.h"

#include "gui/BitmapResources.h"
#include "gui/BitmapScaler.h"
#include "gui/BmpImage.h"
#include "gui/GuiBitmap.h"

#include <cmath>
#include <optional>

namespace grelmond {

namespace {

std::optional<BmpImage> resourceImage(int id)
{
    const BitmapResource res = findBitmapResource(id);
    return BmpImage::parse(res.data, res.size);
}

bool near(double a, double b) { return std::fabs(a - b) < 1e-6; }

} // namespace

GuiBitmap* ScaledBitmap::load(int resourceId, double scale, int frames)
{
    if (near(scale, 1.0))
        return new GuiBitmap(resourceId);
    std::optional<BmpImage> source = resourceImage(resourceId + kDoubleIdOffset);
    int density = 2;
    if (!source) { // no 2x picture: the 1x one, better than nothing
        source = resourceImage(resourceId);
        density = 1;
    }
    if (!source)
        return new GuiBitmap(resourceId);
    frames = frames < 1 ? 1 : frames;
    const int frameWidth = BitmapScaler::scaled(source->width() / density, scale);
    const int frameHeight = BitmapScaler::scaled(source->height() / frames / density, scale);
    const bool asDrawn = frameWidth == source->width() && frameHeight * frames == source->height();
    const BmpImage picture = asDrawn ? *source : BitmapScaler::scaleFrames(*source, frames, frameWidth, frameHeight);
    const std::vector<uint8_t> file = picture.encode();
    return new GuiBitmap(file.data(), file.size());
}

} // namespace grelmond
