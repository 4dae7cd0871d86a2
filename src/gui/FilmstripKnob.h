#pragma once

#include "gui/Knob.h"

namespace grelmond {

// A knob drawn as one frame of a vertical strip of equal pictures, frame 0 at the top.
class FilmstripKnob : public Knob {
public:
    FilmstripKnob(const GuiRect& size, ControlListener* listener, int tag, int frameCount, int frameHeight,
                  GuiBitmap* background, GuiPoint offset = {});

    void draw(DrawContext& context) override;
    // The strip frame that shows the current value.
    int frameIndex() const;

private:
    int frameCount_;
    int frameHeight_;
};

} // namespace grelmond
