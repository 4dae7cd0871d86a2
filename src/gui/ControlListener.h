#pragma once

namespace grelmond {

class DrawContext;
class GuiControl;

// Told when the user changed a control's value.
class ControlListener {
public:
    virtual ~ControlListener() = default;
    virtual void valueChanged(DrawContext& context, GuiControl* control) = 0;
};

} // namespace grelmond
