#include "gui/GuiControl.h"

#include "gui/ControlListener.h"
#include "gui/DrawContext.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiFrame.h"

namespace grelmond {

namespace {
constexpr int kResetClick = kMouseLeft | kMouseControl;
}

GuiControl::GuiControl(const GuiRect& size, ControlListener* listener, int tag, GuiBitmap* background)
    : GuiView(size), listener_(listener), tag_(tag)
{
    setBackground(background);
}

GuiControl::~GuiControl()
{
    if (background_)
        background_->release();
}

bool GuiControl::isDirty() const { return value_ != oldValue_ || GuiView::isDirty(); }

void GuiControl::setDirty(bool dirty)
{
    GuiView::setDirty(dirty);
    oldValue_ = dirty ? -1.0f : value_;
}

void GuiControl::pumpIdle()
{
    if (parentFrame())
        parentFrame()->pumpIdle();
}

void GuiControl::setBackground(GuiBitmap* bitmap)
{
    holdBitmap(background_, bitmap);
    setDirty(true);
}

void GuiControl::clampValue()
{
    if (value_ > max_)
        value_ = max_;
    else if (value_ < min_)
        value_ = min_;
}

bool GuiControl::wheelStep(DrawContext& context, float distance)
{
    if (!mouseEnabled())
        return false;
    float change = distance * getWheelIncrement();
    if (context.getMouseButtons() & kMouseShift)
        change *= 0.1f;
    beginEdit(); // one step is one gesture for the host's automation
    value_ += change;
    clampValue();
    reportIfDirty(context);
    endEdit();
    return true;
}

bool GuiControl::onDoubleClick(DrawContext& context)
{
    if (!mouseEnabled())
        return false;
    beginEdit();
    value_ = getDoubleClickValue();
    reportIfDirty(context);
    endEdit();
    return true;
}

void GuiControl::reportIfDirty(DrawContext& context)
{
    if (isDirty())
        report(context);
}

void GuiControl::report(DrawContext& context)
{
    if (listener_)
        listener_->valueChanged(context, this);
}

bool GuiControl::resetClick(DrawContext& context, int buttons)
{
    if (buttons != kResetClick)
        return false;
    value_ = defaultValue_;
    reportIfDirty(context);
    return true;
}

void GuiControl::beginEdit()
{
    if (parentFrame())
        parentFrame()->beginEdit(tag_);
}

void GuiControl::endEdit()
{
    if (parentFrame())
        parentFrame()->endEdit(tag_);
}

void GuiControl::drawBitmapPart(DrawContext& context, GuiBitmap* bitmap, const GuiRect& where, GuiPoint src)
{
    if (!bitmap)
        return;
    if (transparent())
        bitmap->drawTransparent(context, where, src);
    else
        bitmap->draw(context, where, src);
}

} // namespace grelmond
