#pragma once

#include "gui/GuiControl.h"

namespace grelmond {

// An on/off button; its bitmap holds the off picture above the on picture.
class ToggleButton : public GuiControl {
public:
    ToggleButton(const GuiRect& size, ControlListener* listener, int tag, GuiBitmap* background,
                 GuiPoint offset = {});

    void draw(DrawContext& context) override;
    void mouse(DrawContext& context, GuiPoint where) override;
    // A second press is a press: it has no default to return to.
    bool onDoubleClick(DrawContext& context) override { return false; }
    // Away from the user turns it on, towards the user off.
    bool onWheel(DrawContext& context, GuiPoint where, float distance) override;
};

} // namespace grelmond
