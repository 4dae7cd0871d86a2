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
};

} // namespace grelmond
