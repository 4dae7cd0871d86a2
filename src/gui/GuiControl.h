#pragma once

#include "gui/GuiView.h"

namespace grelmond {

class ControlListener;
class GuiBitmap;

// A view holding one value in [min, max] that reports user changes to its
// listener under its tag. It redraws when the value differs from the value it
// last drew (the old value) or when marked dirty.
class GuiControl : public GuiView {
public:
    GuiControl(const GuiRect& size, ControlListener* listener, int tag, GuiBitmap* background = nullptr);
    ~GuiControl() override;

    bool isDirty() const override;
    void setDirty(bool dirty) override;

    // Asks the frame to run the editor's idle pump, while tracking the mouse.
    virtual void pumpIdle();
    virtual void setValue(float value) { value_ = value; }
    virtual float getValue() const { return value_; }
    virtual void setMin(float v) { min_ = v; }
    virtual float getMin() const { return min_; }
    virtual void setMax(float v) { max_ = v; }
    virtual float getMax() const { return max_; }
    virtual void setOldValue(float v) { oldValue_ = v; }
    virtual float getOldValue() const { return oldValue_; }
    virtual void setDefaultValue(float v) { defaultValue_ = v; }
    virtual float getDefaultValue() const { return defaultValue_; }
    virtual void setTag(int tag) { tag_ = tag; }
    virtual int getTag() const { return tag_; }
    virtual void setBackground(GuiBitmap* bitmap);
    virtual GuiBitmap* getBackground() const { return background_; }
    virtual void setWheelIncrement(float v) { wheelIncrement_ = v; }
    virtual float getWheelIncrement() const { return wheelIncrement_; }
    virtual void clampValue();
    // Restores the double-click value (the default value unless one is set), as one edit gesture.
    bool onDoubleClick(DrawContext& context) override;
    void setDoubleClickValue(float v) { doubleClickValue_ = v; hasDoubleClickValue_ = true; }
    float getDoubleClickValue() const { return hasDoubleClickValue_ ? doubleClickValue_ : defaultValue_; }

    void setBackgroundOffset(GuiPoint offset) { backgroundOffset_ = offset; }
    GuiPoint getBackgroundOffset() const { return backgroundOffset_; }
    ControlListener* listener() const { return listener_; }

protected:
    // Reports to the listener when the control counts as changed.
    void reportIfDirty(DrawContext& context);
    void report(DrawContext& context);
    // A press with exactly left button and Control restores the default value.
    bool resetClick(DrawContext& context, int buttons);
    // Moves the value by the wheel increment per step, a tenth of it with Shift held.
    bool wheelStep(DrawContext& context, float distance);
    void beginEdit();
    void endEdit();
    // Draws a part of the background bitmap into the control, colour-keyed if transparent.
    void drawBitmapPart(DrawContext& context, GuiBitmap* bitmap, const GuiRect& where, GuiPoint src);

    float value_ = 0.0f;
    float min_ = 0.0f;
    float max_ = 1.0f;

private:
    ControlListener* listener_;
    int tag_;
    float oldValue_ = 1.0f;
    float defaultValue_ = 0.5f;
    float doubleClickValue_ = 0.5f;
    bool hasDoubleClickValue_ = false;
    float wheelIncrement_ = 0.1f;
    GuiBitmap* background_ = nullptr;
    GuiPoint backgroundOffset_;
};

} // namespace grelmond
