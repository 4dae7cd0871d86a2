// Pictures at other scales, the screen's scale, the popup menu, and the wheel
// and double-click on each kind of control.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"

#include "gui/BitmapScaler.h"
#include "gui/BmpImage.h"
#include "gui/FilmstripKnob.h"
#include "gui/PopupMenu.h"
#include "gui/ScreenScale.h"
#include "gui/Slider.h"
#include "gui/StepSwitch.h"
#include "gui/ToggleButton.h"
#include "gui/ValueDisplay.h"

#include <thread>

namespace {

using namespace guitest;
constexpr int L = kMouseLeft;

BmpImage filled(int width, int height, const std::function<GuiColor(int, int)>& colourAt)
{
    const std::vector<uint8_t> bytes = makeBmp(width, height, colourAt);
    return *BmpImage::parse(bytes.data(), bytes.size());
}

GuiColor at(const BmpImage& image, int x, int y)
{
    const uint8_t* p = image.pixel(x, y);
    return {p[2], p[1], p[0], 0};
}

TEST(BitmapScaler, ShrinksEachFrameOnItsOwnAndKeepsTheKeyColourUnblended)
{
    // Two 4 x 4 frames: a black frame and a grey one with a white (key) left column.
    const BmpImage strip = filled(4, 8, [](int x, int y) {
        if (y < 4)
            return GuiColor{0, 0, 0, 0};
        return x == 0 ? GuiColor{255, 255, 255, 0} : GuiColor{100, 100, 100, 0};
    });
    const BmpImage small = BitmapScaler::scaleFrames(strip, 2, 3, 3);
    ASSERT_EQ(small.width(), 3);
    ASSERT_EQ(small.height(), 6);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(at(small, x, 2), (GuiColor{0, 0, 0, 0})) << "the black frame's last row takes nothing from the next";
        EXPECT_EQ(at(small, x, 3).red, x == 0 ? 255 : 100);
    }
    EXPECT_EQ(at(small, 1, 4), (GuiColor{100, 100, 100, 0})) << "partly keyed pixels average only the picture";

    // An even area average: a 2 x 2 checkerboard of 0 and 200 becomes 100.
    const BmpImage checks = filled(2, 2, [](int x, int y) {
        const uint8_t v = (x + y) % 2 ? 200 : 0;
        return GuiColor{v, v, v, 0};
    });
    EXPECT_EQ(at(BitmapScaler::scaleFrames(checks, 1, 1, 1), 0, 0).green, 100);
}

TEST(BitmapScaler, LengthsRoundAlikeAndFilesRoundTrip)
{
    EXPECT_EQ(BitmapScaler::scaled(629, 2.0), 1258);
    EXPECT_EQ(BitmapScaler::scaled(629, 1.5), 944);
    EXPECT_EQ(BitmapScaler::scaled(27, 1.25), 34);
    const BmpImage image = filled(5, 3, [](int x, int y) { return GuiColor{uint8_t(x * 40), uint8_t(y * 70), 9, 0}; });
    const std::vector<uint8_t> file = image.encode();
    const auto back = BmpImage::parse(file.data(), file.size());
    ASSERT_TRUE(back.has_value());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(at(*back, x, y), at(image, x, y));
    // A bare bitmap, as a library resource holds it, reads alike.
    const auto bare = BmpImage::parse(file.data() + 14, file.size() - 14);
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(at(*bare, 4, 2), at(image, 4, 2));
    EXPECT_FALSE(BmpImage::parse(file.data(), 60).has_value()) << "cut short";
}

TEST(ScreenScale, ComesFromGdkScaleElseXftDpiInQuarterSteps)
{
    EXPECT_EQ(ScreenScale::fromSettings("2", nullptr), 2.0);
    EXPECT_EQ(ScreenScale::fromSettings("3", "Xft.dpi:\t96\n"), 2.0);
    EXPECT_EQ(ScreenScale::fromSettings(nullptr, "Xft.antialias:\t1\nXft.dpi:\t144\n"), 1.5);
    EXPECT_EQ(ScreenScale::fromSettings("", "Xft.dpi: 120"), 1.25);
    EXPECT_EQ(ScreenScale::fromSettings(nullptr, "Xft.dpi: 72\n"), 1.0);
    EXPECT_EQ(ScreenScale::fromSettings(nullptr, "Xft.rgba: rgb\n"), 1.0);
    EXPECT_EQ(ScreenScale::fromDpi(0), 1.0);
    EXPECT_EQ(ScreenScale::fromDpi(192), 2.0);
    EXPECT_EQ(ScreenScale::fromDpi(400), 2.0);
}

struct MenuHarness : Harness {
    MenuHarness() : Harness(300, 200) {}
    PopupMenu* open(GuiPoint anchor)
    {
        std::vector<PopupMenu::Item> items{{"Family", -1, false, true}, {"One", 1}, {"Two", 2, true}, {"Three", 3}};
        menu = new PopupMenu(items, 4, [this](int id) { closedWith.push_back(id); });
        menu->open(*frame, anchor);
        return menu;
    }
    PopupMenu* menu = nullptr;
    std::vector<int> closedWith;
};

TEST(PopupMenu, AClickChoosesAnItemAndHeadingsCannotBeChosen)
{
    MenuHarness h;
    PopupMenu* menu = h.open({20, 20});
    EXPECT_EQ(h.frame->modalView(), menu);
    EXPECT_TRUE(h.window->hasKeyboardFocus()) << "Escape must reach it";
    EXPECT_EQ(menu->highlighted(), 2) << "the current item is marked";
    const GuiRect heading = menu->itemRect(0);
    h.press({{{heading.left + 3, heading.top + 3}, L}});
    EXPECT_TRUE(h.closedWith.empty());
    const GuiRect three = menu->itemRect(3);
    h.press({{{three.left + 3, three.top + 3}, L}});
    EXPECT_EQ(h.closedWith, (std::vector<int>{3}));
    EXPECT_EQ(h.frame->modalView(), nullptr);
    EXPECT_FALSE(h.window->hasKeyboardFocus()) << "the keyboard goes back to the host";
}

TEST(PopupMenu, EscapeAnOutsideClickOrLosingTheFocusCloseWithoutAChoice)
{
    MenuHarness h;
    h.open({20, 20});
    h.window->sendKey({GuiKey::Escape});
    h.open({20, 20});
    h.press({{{290, 190}, L}});
    h.open({20, 20});
    h.window->loseFocus();
    EXPECT_EQ(h.closedWith, (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(h.frame->modalView(), nullptr);
}

TEST(PopupMenu, KeysStepOverHeadingsAndEnterChooses)
{
    MenuHarness h;
    PopupMenu* menu = h.open({20, 20});
    h.window->sendKey({GuiKey::Up});
    h.window->sendKey({GuiKey::Up});
    EXPECT_EQ(menu->highlighted(), 1) << "stops at the first item, not the heading";
    h.window->sendKey({GuiKey::Down});
    h.window->sendKey({GuiKey::Enter});
    EXPECT_EQ(h.closedWith, (std::vector<int>{2}));
}

TEST(PopupMenu, StaysInsideTheWindowNearTheBottomAndRightEdges)
{
    MenuHarness h;
    PopupMenu* menu = h.open({295, 195});
    const GuiRect r = menu->size();
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, 300);
    EXPECT_LE(r.bottom, 200);
    EXPECT_LT(r.bottom, 195 + 1) << "opens upwards from an anchor near the bottom";
    h.frame->idle();
    menu->dismiss();
}

TEST(PopupMenu, WhatAClosedMenuCoveredIsDrawnAgainEvenUnderTheNextMenu)
{
    MenuHarness h;
    auto* face = h.add(new ValueDisplay({0, 0, 299, 199}));
    face->setBackColor({10, 200, 10, 0});
    face->setFrameColor({10, 200, 10, 0});
    face->setStyle(kDisplayNoText);
    h.frame->idle();
    PopupMenu* first = h.open({150, 20});
    h.frame->idle();
    const GuiRect covered = first->size();
    first->dismiss();
    h.open({5, 120}); // before any idle, elsewhere
    h.frame->idle();
    EXPECT_EQ(h.window->pixel(covered.right - 3, covered.top + 3), (GuiColor{10, 200, 10, 0}));
    h.menu->dismiss();
}

// Wheel and double-click on each kind of control.
struct ControlSet {
    Harness h{200, 150};
    GuiBitmap* strip = makeStrip(20, 20, 4);
    GuiBitmap* handle = makeBitmap(10, 10, [](int, int) { return GuiColor{9, 9, 9, 0}; });
    GuiBitmap* track = makeBitmap(10, 100, [](int, int) { return GuiColor{50, 50, 50, 0}; });
    FilmstripKnob* knob = h.add(new FilmstripKnob({0, 0, 20, 20}, &h.recorder, 1, 4, 20, strip));
    StepSwitch* step = h.add(new StepSwitch({30, 0, 50, 20}, &h.recorder, 2, 4, 20, 4, strip));
    ToggleButton* toggle = h.add(new ToggleButton({60, 0, 80, 20}, &h.recorder, 3, strip));
    VerticalSlider* slider =
        h.add(new VerticalSlider({100, 0, 110, 100}, &h.recorder, 4, 0, 90, handle, track, {}, kOriginBottom));
    ~ControlSet()
    {
        strip->release();
        handle->release();
        track->release();
    }
};

TEST(ControlWheel, EveryKindStepsUnderThePointerAndShiftMakesItFiner)
{
    ControlSet c;
    c.knob->setValue(0.5f);
    c.slider->setValue(0.5f);
    c.h.window->wheel({10, 10}, 1.0f);
    EXPECT_FLOAT_EQ(c.knob->getValue(), 0.6f);
    c.h.window->wheel({10, 10}, -1.0f, kMouseShift);
    EXPECT_FLOAT_EQ(c.knob->getValue(), 0.59f);
    c.h.window->wheel({105, 50}, -2.0f);
    EXPECT_FLOAT_EQ(c.slider->getValue(), 0.3f);
    c.h.window->wheel({40, 10}, 1.0f);
    EXPECT_FLOAT_EQ(c.step->getValue(), 1.0f / 3.0f) << "one position per notch";
    c.h.window->wheel({40, 10}, -5.0f);
    EXPECT_FLOAT_EQ(c.step->getValue(), 0.0f);
    c.h.window->wheel({70, 10}, 1.0f);
    EXPECT_EQ(c.toggle->getValue(), 1.0f);
    c.h.window->wheel({70, 10}, -1.0f);
    EXPECT_EQ(c.toggle->getValue(), 0.0f);
    c.h.window->wheel({150, 140}, 1.0f); // over nothing: nothing moves
    EXPECT_EQ(c.h.recorder.tags, (std::vector<int>{1, 1, 4, 2, 2, 3, 3}));
    EXPECT_EQ(c.h.owner.begun, c.h.owner.ended);
    EXPECT_EQ(c.h.owner.begun.size(), 5u) << "each step of a knob, slider or switch is one gesture";
}

TEST(ControlDoubleClick, ResetsKnobsSlidersAndSwitchesButNotToggles)
{
    ControlSet c;
    c.knob->setDefaultValue(0.25f);
    c.slider->setDefaultValue(0.75f);
    c.step->setDefaultValue(0.0f);
    c.knob->setValue(0.9f);
    c.slider->setValue(0.1f);
    c.step->setValue(1.0f);
    for (GuiPoint p : {GuiPoint{10, 10}, GuiPoint{105, 94}, GuiPoint{49, 10}}) {
        c.h.press({{p, L}});
        c.h.press({{p, L}});
    }
    EXPECT_FLOAT_EQ(c.knob->getValue(), 0.25f);
    EXPECT_FLOAT_EQ(c.slider->getValue(), 0.75f);
    EXPECT_FLOAT_EQ(c.step->getValue(), 0.0f);
    c.h.press({{{70, 10}, L}});
    c.h.press({{{70, 10}, L}});
    EXPECT_EQ(c.toggle->getValue(), 0.0f) << "two presses turn it on and off again";

    // Presses far apart in time are two clicks.
    c.knob->setValue(0.9f);
    c.h.press({{{10, 10}, L}});
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    c.h.press({{{10, 10}, L}});
    EXPECT_NE(c.knob->getValue(), 0.25f);
}

} // namespace
