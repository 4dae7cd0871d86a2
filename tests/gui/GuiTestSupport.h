#pragma once

#include "gui/ControlListener.h"
#include "gui/DrawContext.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiControl.h"
#include "gui/GuiFrame.h"
#include "gui/GuiFrameOwner.h"
#include "gui/image/ImageWindow.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace guitest {

using namespace grelmond;

// The bytes of a 24-bit BMP file whose pixels come from colourAt(x, y).
std::vector<uint8_t> makeBmp(int width, int height, const std::function<GuiColor(int, int)>& colourAt);
// A bitmap the caller owns one reference of.
GuiBitmap* makeBitmap(int width, int height, const std::function<GuiColor(int, int)>& colourAt);
// A vertical strip of frames, frame k filled with the colour (k, 255 - k, 7).
GuiBitmap* makeStrip(int width, int frameHeight, int frames);
GuiColor stripColour(int frame);

// Listens like the editor: records each report and lets the control redraw at once.
struct Recorder : ControlListener {
    std::vector<float> values;
    std::vector<int> tags;
    void valueChanged(DrawContext& context, GuiControl* control) override;
};

struct Owner : GuiFrameOwner {
    std::vector<int> begun;
    std::vector<int> ended;
    int pumps = 0;
    void beginEdit(int tag) override { begun.push_back(tag); }
    void endEdit(int tag) override { ended.push_back(tag); }
    void pumpIdle() override { ++pumps; }
};

// A headless frame with a scripted pointer.
struct Harness {
    explicit Harness(int width = 200, int height = 150);
    ~Harness();
    // Adds the view (the frame takes the creator's reference) and returns it.
    // Then draws the frame, so that the view starts clean as it would on screen.
    template <typename V>
    V* add(V* view)
    {
        frame->addView(view);
        frame->idle();
        return view;
    }
    void press(std::vector<MouseStep> steps) { window->press(std::move(steps)); }

    Owner owner;
    Recorder recorder;
    ImageWindow* window;
    GuiFrame* frame;
};

} // namespace guitest
