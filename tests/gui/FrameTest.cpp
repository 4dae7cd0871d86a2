#include "GuiTestSupport.h"

#include "gui/FilmstripKnob.h"
#include "gui/TextField.h"
#include "gui/ToggleButton.h"

#include <gtest/gtest.h>

using namespace guitest;

namespace {

constexpr int L = kMouseLeft;

// Counts draws and presses.
struct Probe : GuiView {
    explicit Probe(const GuiRect& r) : GuiView(r) {}
    int draws = 0;
    int presses = 0;
    void draw(DrawContext& context) override
    {
        ++draws;
        GuiView::draw(context);
    }
    void mouse(DrawContext&, GuiPoint) override { ++presses; }
};

TEST(FrameTest, PressesGoToTheLastAddedViewUnderThePointerEdgesIncluded)
{
    Harness h;
    auto* below = h.add(new Probe({10, 10, 50, 50}));
    auto* above = h.add(new Probe({40, 40, 60, 60}));
    auto* disabled = h.add(new Probe({0, 0, 100, 100}));
    disabled->setMouseEnabled(false);

    h.press({{{50, 50}, L}});
    EXPECT_EQ(above->presses, 1);
    EXPECT_EQ(below->presses, 0);
    h.press({{{10, 10}, L}});
    h.press({{{50, 20}, L}}); // right edge
    h.press({{{20, 50}, L}}); // bottom edge... but not yet covered by 'above'
    EXPECT_EQ(below->presses, 3);
    h.press({{{61, 61}, L}});
    EXPECT_EQ(above->presses + below->presses, 4);
    EXPECT_EQ(disabled->presses, 0);
}

TEST(FrameTest, ModalViewTakesEveryPressInsideIt)
{
    Harness h;
    auto* normal = h.add(new Probe({0, 0, 100, 100}));
    auto* modal = h.add(new Probe({20, 20, 40, 40}));
    h.frame->setModalView(modal);
    h.press({{{30, 30}, L}});
    h.press({{{80, 80}, L}});
    EXPECT_EQ(modal->presses, 1);
    EXPECT_EQ(normal->presses, 0);
}

TEST(FrameTest, APressWhileEditingCommitsTheTextFirst)
{
    Harness h;
    auto* field = h.add(new TextField({10, 10, 85, 21}, &h.recorder, 72, "Init"));
    GuiBitmap* bmp = makeStrip(16, 16, 2);
    h.add(new ToggleButton({100, 10, 116, 26}, &h.recorder, 44, bmp));
    bmp->release();
    h.press({{{20, 15}, L}});
    h.window->typeText("Pad");
    h.press({{{105, 15}, L}});
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(field->getText(), "Pad");
    EXPECT_EQ(h.recorder.tags, (std::vector<int>{72, 44}));
}

TEST(FrameTest, IdleWaitsForTheFirstFullDrawThenRedrawsOnlyDirtyViews)
{
    Owner owner;
    auto image = std::make_unique<ImageWindow>(100, 100, false);
    ImageWindow* window = image.get();
    GuiFrame frame({0, 0, 100, 100}, std::move(image), &owner);
    auto* a = new Probe({0, 0, 10, 10});
    auto* b = new Probe({20, 0, 30, 10});
    frame.addView(a);
    frame.addView(b);
    frame.idle();
    EXPECT_EQ(a->draws + b->draws, 0);

    window->requestPaint();
    frame.idle(); // the full draw keeps the views' dirty state, so idle draws them once more
    const int aDraws = a->draws, bDraws = b->draws;
    EXPECT_GE(aDraws, 1);
    frame.idle();
    EXPECT_EQ(a->draws, aDraws);
    EXPECT_FALSE(frame.isDirty());

    a->setDirty(true);
    frame.idle();
    EXPECT_EQ(a->draws, aDraws + 1);
    EXPECT_EQ(b->draws, bDraws);
}

TEST(FrameTest, WheelGoesToTheViewUnderThePointer)
{
    Harness h;
    GuiBitmap* strip = makeStrip(21, 27, 92);
    auto* first = h.add(new FilmstripKnob({0, 0, 21, 27}, &h.recorder, 1, 92, 27, strip));
    auto* second = h.add(new FilmstripKnob({30, 0, 51, 27}, &h.recorder, 2, 92, 27, strip));
    strip->release();
    h.window->setMouse({40, 10}, 0);
    EXPECT_TRUE(h.frame->onWheel(2.0f));
    EXPECT_FLOAT_EQ(second->getValue(), 0.2f);
    EXPECT_FLOAT_EQ(first->getValue(), 0.0f);
    h.window->setMouse({25, 10}, 0);
    EXPECT_FALSE(h.frame->onWheel(1.0f));
}

TEST(FrameTest, HoldsTheCreatorsReferenceOfEveryView)
{
    Harness h;
    std::vector<Probe*> probes;
    for (int i = 0; i < 25; ++i)
        probes.push_back(h.add(new Probe({i, 0, i + 1, 1})));
    EXPECT_EQ(h.frame->viewCount(), 25);
    EXPECT_EQ(h.frame->viewAt(24), probes[24]);

    Probe* kept = probes[3];
    kept->retain();
    EXPECT_TRUE(h.frame->removeView(kept, true));
    EXPECT_FALSE(h.frame->removeView(kept, true));
    EXPECT_EQ(kept->refCount(), 1);
    EXPECT_EQ(h.frame->viewCount(), 24);

    // Removed without release, a view is its remover's to delete.
    Probe* taken = probes[5];
    h.frame->removeView(taken, false);
    delete taken;

    Probe* outlives = probes[10];
    outlives->retain();
    GuiBitmap* bg = makeStrip(4, 4, 1);
    h.frame->setBackground(bg);
    EXPECT_EQ(bg->refCount(), 2);
    delete h.frame;
    h.frame = new GuiFrame({0, 0, 1, 1}, std::make_unique<ImageWindow>(1, 1), nullptr);
    EXPECT_EQ(outlives->refCount(), 1);
    EXPECT_EQ(bg->refCount(), 1);
    outlives->release();
    bg->release();
    kept->release();
}

TEST(FrameTest, TrackingPassesEditGesturesAndIdlePumpsToTheOwner)
{
    Harness h;
    GuiBitmap* strip = makeStrip(21, 27, 92);
    h.add(new FilmstripKnob({0, 0, 21, 27}, &h.recorder, 9, 92, 27, strip));
    strip->release();
    h.press({{{10, 3}, L}, {{15, 5}, L}, {{15, 5}, 0}});
    EXPECT_EQ(h.owner.begun, std::vector<int>{9});
    EXPECT_EQ(h.owner.ended, std::vector<int>{9});
    EXPECT_GE(h.owner.pumps, 2);
}

TEST(FrameTest, HeadlessFrameWithoutParentDrawsIntoAnImage)
{
    GuiFrame frame({0, 0, 64, 48}, static_cast<void*>(nullptr), nullptr);
    ASSERT_TRUE(frame.isOpen());
    auto* image = dynamic_cast<ImageWindow*>(frame.window());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 64);
    GuiBitmap* bg = makeBitmap(64, 48, [](int, int) { return kColorCyan; });
    frame.setBackground(bg);
    bg->release();
    frame.idle();
    EXPECT_EQ(image->pixel(63, 47), kColorCyan);
}

} // namespace
