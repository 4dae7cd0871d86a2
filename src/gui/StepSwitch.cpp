#include "gui/StepSwitch.h"

#include "gui/DrawContext.h"
#include "gui/GuiBitmap.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

StepSwitch::StepSwitch(const GuiRect& size, ControlListener* listener, int tag, int frameCount, int frameHeight,
                       int positions, GuiBitmap* background, GuiPoint offset)
    : GuiControl(size, listener, tag, background), frameCount_(std::max(1, frameCount)),
      frameHeight_(std::max(1, frameHeight)), positions_(std::max(2, positions))
{
    setBackgroundOffset(offset);
    setDefaultValue(0.0f);
}

int StepSwitch::frameIndex() const
{
    const int last = positions_ - 1;
    for (int k = 0; k < last; ++k)
        if (value_ < float(k + 1) / float(last))
            return k;
    return last;
}

void StepSwitch::draw(DrawContext& context)
{
    const GuiPoint offset = getBackgroundOffset();
    drawBitmapPart(context, getBackground(), size(), {offset.x, offset.y + frameIndex() * frameHeight_});
    setDirty(false);
}

float StepSwitch::valueAt(int d) const
{
    const int width = getBackground() ? getBackground()->width() : size().width();
    for (int i = 1; i < positions_; ++i)
        if (width * i / positions_ >= d)
            return float(i - 1) / float(positions_ - 1);
    return 1.0f;
}

void StepSwitch::mouse(DrawContext& context, GuiPoint where)
{
    if (!mouseEnabled())
        return;
    const int pressed = context.pressButtons();
    if (!(pressed & kMouseLeft))
        return;
    if (resetClick(context, pressed))
        return;
    GuiPoint last{where.x - 1, where.y - 1};
    beginEdit();
    for (;;) {
        const int buttons = context.getMouseButtons();
        if (where != last) {
            last = where;
            value_ = valueAt(where.x - size().left);
            clampValue();
            reportIfDirty(context);
        }
        where = context.getMouseLocation();
        pumpIdle();
        if (buttons != pressed)
            break;
    }
    endEdit();
}

} // namespace grelmond

namespace grelmond {

bool StepSwitch::onWheel(DrawContext& context, GuiPoint, float distance)
{
    if (!mouseEnabled() || positions_ < 2 || distance == 0.0f)
        return false;
    const int last = positions_ - 1;
    const int now = std::clamp(int(std::lround(value_ * float(last))), 0, last);
    const int next = std::clamp(now + (distance > 0.0f ? 1 : -1), 0, last);
    beginEdit();
    value_ = float(next) / float(last);
    reportIfDirty(context);
    endEdit();
    return true;
}

} // namespace grelmond
