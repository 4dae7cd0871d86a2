#include "GuiTestSupport.h"

#include "gui/BitmapResources.h"
#ifndef _WIN32
#include "gui/BmpDecoder.h"
#endif
#include "gui/FilmstripKnob.h"
#include "gui/OffscreenContext.h"
#include "gui/Slider.h"
#include "gui/ToggleButton.h"
#include "gui/ValueDisplay.h"

#include <gtest/gtest.h>

using namespace guitest;

namespace {

constexpr GuiColor kGrey{100, 100, 100, 0};

GuiBitmap* greyBackground(int w, int h)
{
    return makeBitmap(w, h, [](int, int) { return kGrey; });
}

struct Canvas {
    ImageWindow window{100, 80};
    DrawContext context{window.surface(), &window, nullptr};
    GuiColor at(int x, int y)
    {
        window.flush();
        return window.pixel(x, y);
    }
    // Counts pixels inside r that are not black.
    int ink(const GuiRect& r)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += !(at(x, y) == kColorBlack);
        return n;
    }
};

TEST(DrawingTest, KnobFrameLandsInTheControlRectangle)
{
    Harness h;
    GuiBitmap* bg = greyBackground(200, 150);
    h.frame->setBackground(bg);
    bg->release();
    GuiBitmap* strip = makeStrip(21, 27, 92);
    auto* knob = h.add(new FilmstripKnob({20, 30, 41, 57}, &h.recorder, 1, 92, 27, strip));
    strip->release();
    knob->setValue(1.0f);
    h.frame->idle();
    for (GuiPoint p : {GuiPoint{20, 30}, GuiPoint{40, 56}, GuiPoint{30, 40}})
        EXPECT_EQ(h.window->pixel(p.x, p.y), stripColour(91)) << p.x << "," << p.y;
    for (GuiPoint p : {GuiPoint{19, 30}, GuiPoint{41, 30}, GuiPoint{20, 29}, GuiPoint{20, 57}})
        EXPECT_EQ(h.window->pixel(p.x, p.y), kGrey) << p.x << "," << p.y;

    knob->setValue(0.999f);
    h.frame->idle();
    EXPECT_EQ(h.window->pixel(30, 40), stripColour(90));
}

TEST(DrawingTest, ColourKeyShowsWhatLiesBeneath)
{
    Harness h;
    GuiBitmap* bg = greyBackground(200, 150);
    h.frame->setBackground(bg);
    bg->release();
    // Left half pure white, right half red; almost-white stays visible.
    GuiBitmap* bmp = makeBitmap(16, 32, [](int x, int y) {
        if (y == 0 && x == 15)
            return GuiColor{255, 255, 254, 0};
        return x < 8 ? kColorWhite : kColorRed;
    });
    auto* keyed = new ToggleButton({10, 10, 26, 26}, &h.recorder, 1, bmp);
    keyed->setTransparent(true);
    h.add(keyed);
    h.add(new ToggleButton({40, 10, 56, 26}, &h.recorder, 2, bmp));
    bmp->release();
    EXPECT_EQ(h.window->pixel(12, 15), kGrey);
    EXPECT_EQ(h.window->pixel(20, 15), kColorRed);
    EXPECT_EQ(h.window->pixel(25, 10), (GuiColor{255, 255, 254, 0}));
    EXPECT_EQ(h.window->pixel(42, 15), kColorWhite);
}

TEST(DrawingTest, MissingResourceIsAnEmptyBitmapThatDrawsNothing)
{
    Canvas c;
    auto* missing = new GuiBitmap(987654);
    EXPECT_EQ(missing->width(), 0);
    EXPECT_EQ(missing->height(), 0);
    EXPECT_FALSE(missing->isLoaded());
    missing->draw(c.context, {0, 0, 50, 50});
    missing->drawTransparent(c.context, {0, 0, 50, 50});
    EXPECT_EQ(c.ink({0, 0, 50, 50}), 0);
    missing->retain();
    EXPECT_EQ(missing->refCount(), 2);
    missing->release();
    missing->release();
}

#ifndef _WIN32 // the GDI backend reads BMP files through GDI
TEST(DrawingTest, BmpDecoderRejectsMalformedFiles)
{
    std::vector<uint8_t> good = makeBmp(5, 3, [](int x, int y) { return GuiColor{uint8_t(x), uint8_t(y), 9, 0}; });
    cairo_surface_t* s = decodeBmp24(good.data(), good.size());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(s), 5);
    cairo_surface_destroy(s);

    EXPECT_EQ(decodeBmp24(good.data(), good.size() - 1), nullptr); // truncated pixels
    EXPECT_EQ(decodeBmp24(good.data(), 20), nullptr);
    EXPECT_EQ(decodeBmp24(nullptr, 0), nullptr);
    std::vector<uint8_t> wrongDepth = good;
    wrongDepth[28] = 32;
    EXPECT_EQ(decodeBmp24(wrongDepth.data(), wrongDepth.size()), nullptr);
    std::vector<uint8_t> hugeWidth = good;
    hugeWidth[21] = 0x7F;
    EXPECT_EQ(decodeBmp24(hugeWidth.data(), hugeWidth.size()), nullptr);

    // Top-down rows (negative height) read the right way up.
    std::vector<uint8_t> topDown = good;
    const uint32_t minusThree = uint32_t(-3);
    for (int i = 0; i < 4; ++i)
        topDown[22 + i] = uint8_t(minusThree >> (8 * i));
    auto* b = new GuiBitmap(topDown.data(), topDown.size());
    Canvas c;
    b->draw(c.context, {0, 0, 5, 3});
    EXPECT_EQ(c.at(4, 0), (GuiColor{4, 2, 9, 0})); // stored rows are read top first
    b->release();
}
#endif

TEST(DrawingTest, FillRectLeavesTopAndLeftEdgeAndDrawRectIncludesCorners)
{
    Canvas c;
    c.context.setFillColor(kColorRed);
    c.context.fillRect({10, 10, 20, 20});
    EXPECT_EQ(c.at(10, 10), kColorBlack);
    EXPECT_EQ(c.at(11, 10), kColorBlack);
    EXPECT_EQ(c.at(11, 11), kColorRed);
    EXPECT_EQ(c.at(19, 19), kColorRed);
    EXPECT_EQ(c.at(20, 19), kColorBlack);
    EXPECT_EQ(c.ink({0, 0, 100, 80}), 81);

    c.context.setFrameColor(kColorGreen);
    c.context.drawRect({30, 30, 40, 40});
    for (GuiPoint p : {GuiPoint{30, 30}, GuiPoint{40, 30}, GuiPoint{40, 40}, GuiPoint{30, 40}, GuiPoint{35, 40}})
        EXPECT_EQ(c.at(p.x, p.y), kColorGreen) << p.x << "," << p.y;
    EXPECT_EQ(c.at(35, 35), kColorBlack);

    c.context.moveTo({50, 5});
    c.context.lineTo({60, 5}); // the end point is left out
    EXPECT_EQ(c.at(50, 5), kColorGreen);
    EXPECT_EQ(c.at(59, 5), kColorGreen);
    EXPECT_EQ(c.at(60, 5), kColorBlack);

    c.context.setOffset({1, 2});
    c.context.setPixel({0, 0}, kColorBlue);
    EXPECT_EQ(c.at(1, 2), kColorBlue);
}

TEST(DrawingTest, NotXorModeInvertsUnderABlackPenAndKeepsUnderAWhitePen)
{
    Canvas c;
    c.context.setFillColor({10, 200, 30, 0});
    c.context.fillRect({0, 0, 20, 20});
    c.context.setDrawMode(kDrawNotXor);
    c.context.setFillColor(kColorBlack);
    c.context.fillRect({0, 0, 10, 10});
    c.context.setFillColor(kColorWhite);
    c.context.fillRect({9, 9, 19, 19});
    EXPECT_EQ(c.at(5, 5), (GuiColor{245, 55, 225, 0}));
    EXPECT_EQ(c.at(15, 15), (GuiColor{10, 200, 30, 0}));
}

TEST(DrawingTest, TextIsAlignedAndClippedToItsRectangle)
{
    Canvas c;
    c.context.setFont(3);
    const int width = c.context.getStringWidth("Hello");
    EXPECT_GE(width, 24); // "Arial" 12 px resolves to a metric-compatible face
    EXPECT_LE(width, 31);
    c.context.setFont(3, 0, kFaceBold);
    EXPECT_GE(c.context.getStringWidth("Hello"), width);

    auto inkExtent = [&](int align) {
        Canvas t;
        t.context.setFont(3);
        t.context.drawString("Hi", {10, 10, 90, 30}, false, align);
        int lo = 1000, hi = -1;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x)
                if (!(t.at(x, y) == kColorBlack)) {
                    EXPECT_TRUE((GuiRect{10, 10, 89, 29}.contains({x, y}))) << x << "," << y;
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        return std::pair{lo, hi};
    };
    const auto left = inkExtent(0), centre = inkExtent(1), right = inkExtent(2);
    EXPECT_LE(left.first, 13);
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 50.0, 3.0);
    EXPECT_GE(right.second, 85);
}

TEST(DrawingTest, BytesAboveAsciiDoNotBreakLaterDrawing)
{
    Canvas c;
    c.context.drawString(std::string("Caf\xE9 \xFF\x80"), {0, 0, 100, 20});
    c.context.setFillColor(kColorRed);
    c.context.fillRect({0, 40, 10, 50});
#ifndef _WIN32
    EXPECT_EQ(cairo_status(c.context.cairo()), CAIRO_STATUS_SUCCESS);
#endif
    EXPECT_EQ(c.at(5, 45), kColorRed);
    EXPECT_EQ(latin1ToUtf8("\xE9"), "\xC3\xA9");
}

TEST(DrawingTest, SliderDrawsTrackAndHandleInOneCopy)
{
    Harness h;
    GuiBitmap* handle = makeBitmap(11, 11, [](int x, int) { return x == 0 ? kColorWhite : kColorRed; });
    GuiBitmap* track = makeBitmap(121, 11, [](int, int) { return kColorBlue; });
    auto* slider = h.add(new HorizontalSlider({10, 100, 131, 111}, &h.recorder, 1, 10, 120, handle, track));
    handle->release();
    track->release();
    slider->setValue(0.5f);
    h.frame->idle();
    EXPECT_EQ(h.window->pixel(66, 105), kColorRed);
    EXPECT_EQ(h.window->pixel(65, 105), kColorBlue); // white handle pixels show the track
    EXPECT_EQ(h.window->pixel(30, 105), kColorBlue);
}

TEST(DrawingTest, ValueDisplayFillsFramesAndWritesItsText)
{
    Harness h;
    auto* display = h.add(new ValueDisplay({10, 10, 60, 30}));
    display->setBackColor({164, 129, 61, 0});
    display->setFrameColor(kColorGreen);
    display->setValue(0.25f);
    h.frame->idle();
    EXPECT_EQ(h.window->pixel(10, 10), kColorGreen);
    EXPECT_EQ(h.window->pixel(60, 30), kColorGreen);
    EXPECT_EQ(h.window->pixel(12, 12), (GuiColor{164, 129, 61, 0}));
    int text = 0;
    for (int y = 11; y < 30; ++y)
        for (int x = 11; x < 60; ++x)
            text += h.window->pixel(x, y).red > 200;
    EXPECT_GT(text, 10);

    display->setStyle(kDisplay3DIn);
    h.frame->idle();
    EXPECT_EQ(h.window->pixel(10, 20), (GuiColor{164, 129, 61, 0})); // left edge in the background colour
    EXPECT_EQ(h.window->pixel(60, 20), kColorGreen);                 // right edge in the frame colour
}

TEST(DrawingTest, OffscreenIsClearedAndCopiedWhole)
{
    Canvas c;
    OffscreenContext off(nullptr, nullptr, 10, 10, kColorBlue);
    off.setFillColor(kColorRed);
    off.fillRect({0, 0, 10, 10});
    off.copyTo(c.context, {20, 20, 30, 30});
    EXPECT_EQ(c.at(20, 20), kColorBlue);
    EXPECT_EQ(c.at(29, 29), kColorRed);
    EXPECT_EQ(c.at(30, 30), kColorBlack);
}

} // namespace

namespace {

TEST(ResourceTest, EmbeddedBitmapsLoadByResourceId)
{
    auto* knob = new GuiBitmap(226);
    EXPECT_EQ(knob->width(), 21);
    EXPECT_EQ(knob->height(), 2484);
    knob->release();
    auto* background = new GuiBitmap(213);
    EXPECT_EQ(background->width(), 629);
    EXPECT_EQ(background->height(), 484);
    background->release();
#ifdef _WIN32
    auto* missing = new GuiBitmap(214);
    EXPECT_FALSE(missing->isLoaded());
    missing->release();
#else
    EXPECT_EQ(findBitmapResource(214).size, 0u);
#endif
}

} // namespace

namespace {

// FNV-1a over the RGB bytes of every pixel.
uint64_t pictureHash(ImageWindow& window)
{
    window.flush();
    uint64_t hash = 1469598105103934665ull;
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) {
            const GuiColor c = window.pixel(x, y);
            for (uint8_t byte : {c.red, c.green, c.blue})
                hash = (hash ^ byte) * 1099511628211ull;
        }
    return hash;
}

// The panel picture, a knob frame, a colour-keyed bitmap, copied and not-XOR
// fills, straight lines, outlines, pixels, a clip and an offscreen copy: what the
// drawing rules settle pixel for pixel. Text, curves and slopes are left out (each
// rasteriser draws its own), and so is merge mode: cairo adds with saturation
// where GDI ORs the bits, which agree only where the colours share no bits.
TEST(DrawingTest, SceneWithoutTextOrCurvesIsTheSameOnEveryBackend)
{
    ImageWindow window(629, 484);
    {
        DrawContext context(window.surface(), &window, nullptr);
        auto* panel = new GuiBitmap(213);
        panel->draw(context, {0, 0, 629, 484});
        panel->release();
        auto* knob = new GuiBitmap(226);
        knob->draw(context, {300, 200, 321, 221}, {0, 21 * 40});
        knob->drawTransparent(context, {340, 200, 361, 221}, {0, 21 * 80});
        knob->release();
        context.setFillColor({10, 200, 30, 0});
        context.fillRect({20, 20, 120, 80});
        context.setDrawMode(kDrawNotXor);
        context.setFillColor(kColorBlack);
        context.fillRect({60, 40, 160, 100});
        context.setDrawMode(kDrawCopy);
        context.setFrameColor(kColorRed);
        context.drawRect({220, 20, 300, 60});
        context.moveTo({400, 30});
        context.lineTo({500, 30});
        context.lineTo({500, 90});
        context.lineTo({450, 90});
        context.lineTo({450, 40});
        context.setOffset({5, 7});
        context.drawRect({400, 100, 420, 140});
        context.setOffset({});
        for (int i = 0; i < 20; ++i)
            context.setPixel({10 + 3 * i, 300 + i}, GuiColor{uint8_t(12 * i), 80, uint8_t(255 - 12 * i), 0});
        context.setClipRect({0, 0, 250, 484});
        context.setFillColor(kColorWhite);
        context.fillRect({230, 300, 280, 340});
        OffscreenContext offscreen(&window, nullptr, 40, 30, kColorBlue);
        offscreen.setFillColor(kColorRed);
        offscreen.fillRect({5, 5, 20, 20});
        offscreen.copyTo(context, {100, 400, 140, 430});
    }
    EXPECT_EQ(pictureHash(window), 17898405718411709012ull);
}

} // namespace
