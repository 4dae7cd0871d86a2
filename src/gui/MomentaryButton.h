#pragma once

#include "gui/GuiControl.h"

namespace grelmond {

// A button that is on while held over it: reports 1 on press and on every
// re-entry, 0 on leaving and on release.
class MomentaryButton : public GuiControl {
public:
    MomentaryButton(const GuiRect& size, ControlListener* listener, int tag, int frameHeight,
                    GuiBitmap* background, GuiPoint offset = {});

    void draw(DrawContext& context) override;
    void mouse(DrawContext& context, GuiPoint where) override;
    // A second press is a press: it has no default to return to.
    bool onDoubleClick(DrawContext& context) override { return false; }

private:
    int frameHeight_;
};

} // namespace grelmond
