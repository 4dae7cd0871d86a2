#pragma once

#include "gui/DrawContext.h"

namespace grelmond {

// A pixel buffer of its own, cleared to one colour, copied to a context in one go
// so that a control never shows half-drawn.
class OffscreenContext : public DrawContext {
public:
    OffscreenContext(GuiWindow* window, GuiFrame* frame, int width, int height, GuiColor background);
    // Copies the buffer from srcOffset into destRect of the destination.
    void copyTo(DrawContext& dest, const GuiRect& destRect, GuiPoint srcOffset = {});
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
};

} // namespace grelmond
