#include "gui/ToggleButton.h"

#include "gui/DrawContext.h"
#include "gui/GuiBitmap.h"

namespace grelmond {

ToggleButton::ToggleButton(const GuiRect& size, ControlListener* listener, int tag, GuiBitmap* background,
                           GuiPoint offset)
    : GuiControl(size, listener, tag, background)
{
    setBackgroundOffset(offset);
}

void ToggleButton::draw(DrawContext& context)
{
    GuiPoint src = getBackgroundOffset();
    if (value_ != 0.0f && getBackground())
        src.y += getBackground()->height() / 2;
    drawBitmapPart(context, getBackground(), size(), src);
    setDirty(false);
}

void ToggleButton::mouse(DrawContext& context, GuiPoint)
{
    if (!mouseEnabled() || !(context.pressButtons() & kMouseLeft))
        return;
    value_ = static_cast<int>(value_) == 0 ? 1.0f : 0.0f;
    draw(context);
    report(context);
}

} // namespace grelmond

namespace grelmond {

bool ToggleButton::onWheel(DrawContext& context, GuiPoint, float distance)
{
    if (!mouseEnabled() || distance == 0.0f)
        return false;
    value_ = distance > 0.0f ? 1.0f : 0.0f;
    reportIfDirty(context);
    return true;
}

} // namespace grelmond
