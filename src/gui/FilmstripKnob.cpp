#include "gui/FilmstripKnob.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

FilmstripKnob::FilmstripKnob(const GuiRect& size, ControlListener* listener, int tag, int frameCount,
                             int frameHeight, GuiBitmap* background, GuiPoint offset)
    : Knob(size, listener, tag, background, offset), frameCount_(std::max(1, frameCount)),
      frameHeight_(std::max(1, frameHeight))
{
}

int FilmstripKnob::frameIndex() const
{
    if (!(value_ > 0.0f))
        return 0;
    const double pixels = std::trunc(double(value_) * frameHeight_ * (frameCount_ - 1));
    const int frame = static_cast<int>(std::min<double>(pixels / frameHeight_, frameCount_ - 1));
    return std::max(0, frame);
}

void FilmstripKnob::draw(DrawContext& context)
{
    const GuiPoint offset = getBackgroundOffset();
    drawBitmapPart(context, getBackground(), size(), {offset.x, offset.y + frameIndex() * frameHeight_});
    setDirty(false);
}

} // namespace grelmond
