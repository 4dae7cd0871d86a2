#include "gui/Slider.h"

#include "gui/DrawContext.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiColors.h"
#include "gui/OffscreenContext.h"

#include <algorithm>

namespace grelmond {

Slider::Slider(Axis axis, const GuiRect& size, ControlListener* listener, int tag, int minPosition, int maxPosition,
               GuiBitmap* handle, GuiBitmap* track, GuiPoint trackOffset, int style)
    : GuiControl(size, listener, tag, track), axis_(axis), minPosition_(minPosition), maxPosition_(maxPosition),
      style_(style)
{
    setBackgroundOffset(trackOffset);
    setHandle(handle);
}

Slider::~Slider()
{
    if (handle_)
        handle_->release();
}

void Slider::setHandle(GuiBitmap* handle)
{
    holdBitmap(handle_, handle);
    setDirty(true);
}

bool Slider::originAtLowEnd() const { return vertical() ? (style_ & kOriginTop) != 0 : (style_ & kOriginLeft) != 0; }

GuiRect Slider::handleRect() const
{
    const GuiRect& r = size();
    const int handleWidth = handle_ ? handle_->width() : 0;
    const int handleHeight = handle_ ? handle_->height() : 0;
    const int handleLength = vertical() ? handleHeight : handleWidth;
    const int controlStart = vertical() ? r.top : r.left;
    const float u = originAtLowEnd() ? value_ : 1.0f - value_;
    int start = static_cast<int>((maxPosition_ - minPosition_) * u) + (vertical() ? handleOffset_.y : handleOffset_.x);
    start = std::max(start, minPosition_ - controlStart);
    int end = std::min(start + handleLength, maxPosition_ + handleLength - controlStart);
    if (vertical())
        return {r.left + handleOffset_.x, r.top + start, r.left + handleOffset_.x + handleWidth, r.top + end};
    return {r.left + start, r.top + handleOffset_.y, r.left + end, r.top + handleOffset_.y + handleHeight};
}

void Slider::draw(DrawContext& context)
{
    const GuiRect& r = size();
    OffscreenContext buffer(context.window(), context.frame(), r.width(), r.height(), kColorBlack);
    if (GuiBitmap* track = getBackground())
        drawBitmapPart(buffer, track, {0, 0, r.width(), r.height()}, getBackgroundOffset());
    if (handle_) {
        const GuiRect h = handleRect().offsetBy(-r.left, -r.top);
        if (handleTransparent_)
            handle_->drawTransparent(buffer, h);
        else
            handle_->draw(buffer, h);
    }
    buffer.copyTo(context, r);
    setDirty(false);
}

void Slider::mouse(DrawContext& context, GuiPoint where)
{
    if (!mouseEnabled())
        return;
    int buttons = context.pressButtons();
    if (!(buttons & kMouseLeft))
        return;
    if (resetClick(context, buttons))
        return;
    const int handleLength = handle_ ? (vertical() ? handle_->height() : handle_->width()) : 0;
    int grab;
    if (clickToJump_) {
        grab = handleLength / 2 + minPosition_ - 1;
    } else {
        const GuiRect h = handleRect();
        if (!h.contains(where))
            return;
        grab = minPosition_ + (along(where) - (vertical() ? h.top : h.left));
    }
    const int range = maxPosition_ - minPosition_;
    float reference = value_;
    bool shift = (buttons & kMouseShift) != 0;
    beginEdit();
    for (;;) {
        float raw = range != 0 ? float(along(where) - grab) / float(range) : 0.0f;
        if (!originAtLowEnd())
            raw = 1.0f - raw;
        const bool nowShift = (buttons & kMouseShift) != 0;
        if (!nowShift || nowShift != shift)
            reference = value_; // follows the value until fine mode starts
        shift = nowShift;
        value_ = nowShift ? reference + (raw - reference) / zoomFactor_ : raw;
        clampValue();
        reportIfDirty(context);
        where = context.getMouseLocation();
        pumpIdle();
        buttons = context.getMouseButtons();
        if (!(buttons & kMouseLeft))
            break;
    }
    endEdit();
}

bool Slider::onWheel(DrawContext& context, GuiPoint, float distance) { return wheelStep(context, distance); }

} // namespace grelmond
