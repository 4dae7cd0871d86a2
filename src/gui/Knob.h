#pragma once

#include "gui/GuiControl.h"

namespace grelmond {

// A rotary control: value 0 at 225 degrees, 0.5 straight up, 1 at -45 degrees.
// Circular tracking follows the pointer's angle around the centre; linear
// tracking maps 200 pixels (more with Shift) to the whole range.
class Knob : public GuiControl {
public:
    Knob(const GuiRect& size, ControlListener* listener, int tag, GuiBitmap* background, GuiPoint offset);

    void mouse(DrawContext& context, GuiPoint where) override;
    bool onWheel(DrawContext& context, GuiPoint where, float distance) override;

    void setZoomFactor(float zoom) { zoomFactor_ = zoom; }
    float getZoomFactor() const { return zoomFactor_; }
    // The value of a point given in the control's own coordinates.
    float valueFromPoint(GuiPoint local) const;

private:
    void trackCircular(DrawContext& context, GuiPoint where);
    void trackLinear(DrawContext& context, GuiPoint where, int buttons);

    double startAngle_ = 3.9269907;
    double rangeAngle_ = -4.712389;
    double radius_;
    float zoomFactor_ = 1.5f;
};

} // namespace grelmond
