#include "gui/Knob.h"

#include "gui/DrawContext.h"
#include "gui/KnobMode.h"

#include <cmath>

namespace grelmond {

namespace {
constexpr double kTwoPi = 2.0 * M_PI;
constexpr double kGapStart = 1.25 * M_PI; // 225 degrees
constexpr double kGapMiddle = 1.5 * M_PI; // straight down
constexpr double kGapEnd = 1.75 * M_PI;   // 315 degrees
constexpr int kLinearPixels = 200;
} // namespace

Knob::Knob(const GuiRect& size, ControlListener* listener, int tag, GuiBitmap* background, GuiPoint offset)
    : GuiControl(size, listener, tag, background), radius_(size.width() / 2.0)
{
    setBackgroundOffset(offset);
}

float Knob::valueFromPoint(GuiPoint local) const
{
    double angle = std::atan2(radius_ - local.y, local.x - radius_);
    if (angle < 0)
        angle += kTwoPi;
    if (angle > kGapStart && angle < kGapEnd)
        return angle <= kGapMiddle ? min_ : max_;
    if (angle >= kGapEnd)
        angle -= kTwoPi;
    const double a = (max_ - min_) / rangeAngle_;
    const double b = min_ - a * startAngle_;
    double v = a * angle + b;
    const double lo = std::fmin(min_, max_), hi = std::fmax(min_, max_);
    return static_cast<float>(std::fmin(hi, std::fmax(lo, v)));
}

void Knob::mouse(DrawContext& context, GuiPoint where)
{
    if (!mouseEnabled())
        return;
    const int buttons = context.pressButtons();
    if (!(buttons & kMouseLeft))
        return;
    if (resetClick(context, buttons))
        return;
    const bool linearMode = knobMode() == kKnobLinear;
    const bool alt = (buttons & kMouseAlt) != 0;
    if (linearMode == alt)
        trackCircular(context, where);
    else
        trackLinear(context, where, buttons);
}

void Knob::trackCircular(DrawContext& context, GuiPoint where)
{
    const GuiRect& r = size();
    const float halfRange = (max_ - min_) * 0.5f;
    float accepted = valueFromPoint({where.x - r.left, where.y - r.top});
    GuiPoint last{where.x - 1, where.y - 1};
    beginEdit();
    for (;;) {
        const int buttons = context.getMouseButtons();
        if (where != last) {
            last = where;
            const float v = valueFromPoint({where.x - r.left, where.y - r.top});
            // Crossing the gap would jump across the range: hold at the end instead.
            if (v - accepted > halfRange) {
                value_ = min_;
            } else if (accepted - v > halfRange) {
                value_ = max_;
            } else {
                value_ = v;
                accepted = v;
            }
            clampValue();
            reportIfDirty(context);
        }
        where = context.getMouseLocation();
        pumpIdle();
        if (!(buttons & kMouseLeft))
            break;
    }
    endEdit();
}

void Knob::trackLinear(DrawContext& context, GuiPoint where, int buttons)
{
    const GuiPoint first = where;
    bool shift = (buttons & kMouseShift) != 0;
    auto stepFor = [this](bool fine) { return (max_ - min_) / (kLinearPixels * (fine ? zoomFactor_ : 1.0f)); };
    float step = stepFor(shift);
    float start = value_;
    GuiPoint last{where.x - 1, where.y - 1};
    beginEdit();
    for (;;) {
        buttons = context.getMouseButtons();
        if (where != last) {
            last = where;
            const int distance = (first.y - where.y) + (where.x - first.x);
            const bool nowShift = (buttons & kMouseShift) != 0;
            if (nowShift != shift) {
                // Keep the value where it is when the step size changes.
                const float newStep = stepFor(nowShift);
                start += distance * (step - newStep);
                step = newStep;
                shift = nowShift;
            }
            value_ = start + step * distance;
            clampValue();
            reportIfDirty(context);
        }
        where = context.getMouseLocation();
        pumpIdle();
        if (!(buttons & kMouseLeft))
            break;
    }
    endEdit();
}

bool Knob::onWheel(DrawContext& context, GuiPoint, float distance) { return wheelStep(context, distance); }

} // namespace grelmond
