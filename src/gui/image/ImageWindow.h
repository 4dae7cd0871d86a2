#pragma once

#include "gui/GuiWindow.h"

#include <string>
#include <vector>

namespace grelmond {

// One sample of the scripted pointer.
struct MouseStep {
    GuiPoint where;
    int buttons = 0;
};

// Headless window: draws into an RGB image and replays a scripted pointer.
// A script's first step is the state at the press; every location query moves
// on to the next step, as a control's tracking loop does once per round. After
// the last step the buttons are up and the pointer rests where it was.
class ImageWindow : public GuiWindow {
public:
    // exposed: the first processEvents delivers a paint, as a newly mapped window gets.
    ImageWindow(int width, int height, bool exposed = true);
    ~ImageWindow() override;

    GuiSurface* surface() override { return surface_; }
    int mouseButtons() override;
    GuiPoint mouseLocation() override;
    bool waitDoubleClick() override;
    void processEvents() override;
    void flush() override;
    void takeKeyboardFocus() override { hasKeyboardFocus_ = true; }
    void releaseKeyboardFocus() override { hasKeyboardFocus_ = false; }
    bool isOpen() const override { return true; }
    bool resize(int width, int height) override;

    // Replays steps from now on; step 0 is the current state.
    void setMouseScript(std::vector<MouseStep> steps);
    // A resting pointer with no script.
    void setMouse(GuiPoint where, int buttons);
    // Presses at the first step of the script and lets the frame handle it.
    void press(std::vector<MouseStep> steps);
    void setDoubleClick(bool next) { doubleClick_ = next; }
    // Queues an exposure, delivered by the next processEvents.
    void requestPaint() { paintPending_ = true; }
    void sendKey(const GuiKeyEvent& key);
    // The pointer moves to where with no button held, as the window reports it.
    void moveTo(GuiPoint where);
    // One notch of the wheel (positive: away from the user) with the pointer at where.
    void wheel(GuiPoint where, float distance, int buttons = 0);
    void typeText(const std::string& text);
    void loseFocus();
    bool hasKeyboardFocus() const { return hasKeyboardFocus_; }

    int width() const { return width_; }
    int height() const { return height_; }
    GuiColor pixel(int x, int y);
    bool writePng(const std::string& path);

private:
    int width_;
    int height_;
    GuiSurface* surface_;
    std::vector<MouseStep> script_;
    size_t step_ = 0;
    MouseStep rest_;
    bool doubleClick_ = false;
    bool paintPending_;
    bool hasKeyboardFocus_ = false;
};

} // namespace grelmond
