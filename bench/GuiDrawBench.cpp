#include "gui/FilmstripKnob.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiFrame.h"
#include "gui/Slider.h"
#include "gui/ValueDisplay.h"
#include "gui/image/ImageWindow.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace grelmond;

namespace {

// An editor-sized frame on the image backend with the embedded artwork:
// 40 knobs, 10 sliders and 10 value displays.
struct EditorLikeFrame {
    ImageWindow* window;
    std::unique_ptr<GuiFrame> frame;
    std::vector<GuiControl*> knobs;

    EditorLikeFrame()
    {
        auto image = std::make_unique<ImageWindow>(629, 484);
        window = image.get();
        frame = std::make_unique<GuiFrame>(GuiRect{0, 0, 629, 484}, std::move(image), nullptr);
        auto* background = new GuiBitmap(213);
        frame->setBackground(background);
        background->release();
        auto* strip = new GuiBitmap(226);
        auto* handle = new GuiBitmap(217);
        auto* track = new GuiBitmap(216);
        for (int i = 0; i < 40; ++i) {
            const int x = 20 + (i % 10) * 30, y = 100 + (i / 10) * 40;
            auto* knob = new FilmstripKnob({x, y, x + 21, y + 27}, nullptr, i, 92, 27, strip);
            frame->addView(knob);
            knobs.push_back(knob);
        }
        for (int i = 0; i < 10; ++i) {
            const int y = 300 + i * 15;
            frame->addView(new HorizontalSlider({400, y, 521, y + 11}, nullptr, 40 + i, 400, 510, handle, track));
            auto* display = new ValueDisplay({530, y, 555, y + 9});
            display->setFont(4);
            frame->addView(display);
        }
        strip->release();
        handle->release();
        track->release();
        frame->idle();
    }
};

void BM_FullEditorDraw(benchmark::State& state)
{
    EditorLikeFrame e;
    for (auto _ : state)
        e.frame->drawNow();
}
BENCHMARK(BM_FullEditorDraw)->Unit(benchmark::kMicrosecond);

// What idle costs when one knob moved: only that knob is drawn again.
void BM_IdleAfterOneKnobChange(benchmark::State& state)
{
    EditorLikeFrame e;
    float v = 0.0f;
    for (auto _ : state) {
        v = v > 0.99f ? 0.0f : v + 0.01f;
        e.knobs[7]->setValue(v);
        e.frame->idle();
    }
}
BENCHMARK(BM_IdleAfterOneKnobChange)->Unit(benchmark::kMicrosecond);

} // namespace
