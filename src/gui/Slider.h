#pragma once

#include "gui/GuiControl.h"

namespace grelmond {

enum SliderStyle : int {
    kOriginLeft = 8,
    kOriginRight = 16,
    kOriginTop = 32,
    kOriginBottom = 64,
};

// A handle bitmap moving over a track bitmap between two absolute positions
// along one axis. Drawn through an offscreen buffer so the handle never flickers.
class Slider : public GuiControl {
public:
    enum class Axis { Horizontal, Vertical };

    Slider(Axis axis, const GuiRect& size, ControlListener* listener, int tag, int minPosition, int maxPosition,
           GuiBitmap* handle, GuiBitmap* track, GuiPoint trackOffset, int style);
    ~Slider() override;

    void draw(DrawContext& context) override;
    void mouse(DrawContext& context, GuiPoint where) override;
    bool onWheel(DrawContext& context, GuiPoint where, float distance) override;

    void setHandleTransparent(bool on) { handleTransparent_ = on; }
    bool getHandleTransparent() const { return handleTransparent_; }
    void setClickToJump(bool on) { clickToJump_ = on; }
    bool getClickToJump() const { return clickToJump_; }
    void setHandleOffset(GuiPoint offset) { handleOffset_ = offset; }
    GuiPoint getHandleOffset() const { return handleOffset_; }
    void setHandle(GuiBitmap* handle);
    GuiBitmap* getHandle() const { return handle_; }
    void setZoomFactor(float zoom) { zoomFactor_ = zoom; }
    float getZoomFactor() const { return zoomFactor_; }

    // The handle's rectangle in frame coordinates for the current value.
    GuiRect handleRect() const;

private:
    bool vertical() const { return axis_ == Axis::Vertical; }
    // Value position 0..1 along the axis, measured from the low-coordinate end.
    bool originAtLowEnd() const;
    int along(GuiPoint p) const { return vertical() ? p.y : p.x; }

    Axis axis_;
    int minPosition_;
    int maxPosition_;
    int style_;
    GuiBitmap* handle_ = nullptr;
    GuiPoint handleOffset_;
    bool handleTransparent_ = true;
    bool clickToJump_ = true;
    float zoomFactor_ = 10.0f;
};

class VerticalSlider : public Slider {
public:
    VerticalSlider(const GuiRect& size, ControlListener* listener, int tag, int minPosition, int maxPosition,
                   GuiBitmap* handle, GuiBitmap* track, GuiPoint trackOffset = {}, int style = kOriginBottom)
        : Slider(Axis::Vertical, size, listener, tag, minPosition, maxPosition, handle, track, trackOffset, style)
    {
    }
};

class HorizontalSlider : public Slider {
public:
    HorizontalSlider(const GuiRect& size, ControlListener* listener, int tag, int minPosition, int maxPosition,
                     GuiBitmap* handle, GuiBitmap* track, GuiPoint trackOffset = {}, int style = kOriginLeft)
        : Slider(Axis::Horizontal, size, listener, tag, minPosition, maxPosition, handle, track, trackOffset,
                 style)
    {
    }
};

} // namespace grelmond
