#include "gui/MomentaryButton.h"

#include "gui/DrawContext.h"

namespace grelmond {

MomentaryButton::MomentaryButton(const GuiRect& size, ControlListener* listener, int tag, int frameHeight,
                                 GuiBitmap* background, GuiPoint offset)
    : GuiControl(size, listener, tag, background), frameHeight_(frameHeight)
{
    setBackgroundOffset(offset);
}

void MomentaryButton::draw(DrawContext& context)
{
    clampValue();
    GuiPoint src = getBackgroundOffset();
    if (value_ != 0.0f)
        src.y += frameHeight_;
    drawBitmapPart(context, getBackground(), size(), src);
    setDirty(false);
}

void MomentaryButton::mouse(DrawContext& context, GuiPoint where)
{
    if (!mouseEnabled() || !(context.pressButtons() & kMouseLeft))
        return;
    const float atPress = value_;
    const float pressed = atPress == 0.0f ? 1.0f : 0.0f;
    beginEdit();
    if (context.getMouseButtons()) {
        for (;;) {
            value_ = size().contains(where) ? pressed : atPress;
            reportIfDirty(context);
            where = context.getMouseLocation();
            pumpIdle();
            if (!context.getMouseButtons())
                break;
        }
    } else {
        value_ = pressed;
        report(context);
    }
    value_ = 0.0f;
    report(context);
    endEdit();
}

} // namespace grelmond
