#pragma once

#include "gui/GuiControl.h"

namespace grelmond {

// A switch with a fixed number of positions, picked by the pointer's horizontal
// place over the control and shown as one frame of a vertical strip.
class StepSwitch : public GuiControl {
public:
    StepSwitch(const GuiRect& size, ControlListener* listener, int tag, int frameCount, int frameHeight,
               int positions, GuiBitmap* background, GuiPoint offset = {});

    void draw(DrawContext& context) override;
    void mouse(DrawContext& context, GuiPoint where) override;
    // One position per notch, whatever the wheel increment.
    bool onWheel(DrawContext& context, GuiPoint where, float distance) override;
    int frameIndex() const;
    // The value for a pointer d pixels right of the control's left edge.
    float valueAt(int d) const;

private:
    int frameCount_;
    int frameHeight_;
    int positions_;
};

} // namespace grelmond
