#pragma once

#include "gui/GuiView.h"

#include <functional>

namespace grelmond {

// An invisible place of the editor that answers presses and the wheel: the
// logo's zoom menu, the program browser over the program name. Draws nothing.
class ClickArea : public GuiView {
public:
    // buttons: MouseBits of the press.
    using Pressed = std::function<void(GuiPoint where, int buttons)>;
    using Wheeled = std::function<void(float distance)>;

    ClickArea(const GuiRect& size, Pressed pressed, Wheeled wheeled = {});

    void draw(DrawContext& context) override { setDirty(false); }
    void mouse(DrawContext& context, GuiPoint where) override;
    bool onWheel(DrawContext& context, GuiPoint where, float distance) override;

private:
    Pressed pressed_;
    Wheeled wheeled_;
};

} // namespace grelmond
