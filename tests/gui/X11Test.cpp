// gtest first: the X11 headers define macros that clash with its names.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "OpenFiles.h"
#include "ResidentSize.h"

#include "gui/FilmstripKnob.h"
#include "gui/GuiColors.h"
#include "gui/KnobMode.h"
#include "gui/TextField.h"
#include "gui/ToggleButton.h"
#include "gui/x11/X11Window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

using namespace guitest;

namespace {

using Clock = std::chrono::steady_clock;
using testsupport::openFileCount;
using testsupport::residentKilobytes;

// The host's side: a top-level window to embed in, and XTest to drive the real pointer.
struct X11Test : ::testing::Test {
    Display* dpy = nullptr;
    Window parent = 0;

    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no X display (run under xvfb-run)";
        // A server that just lost its last client resets and refuses connections for a moment.
        const auto end = Clock::now() + std::chrono::seconds(3);
        while (!(dpy = XOpenDisplay(nullptr)) && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_NE(dpy, nullptr) << "cannot open the X display";
        int event, error, major, minor;
        if (!XTestQueryExtension(dpy, &event, &error, &major, &minor))
            GTEST_SKIP() << "no XTest";
        parent = makeParent();
    }
    void TearDown() override
    {
        setKnobMode(kKnobCircular);
        if (!dpy)
            return;
        if (parent)
            XDestroyWindow(dpy, parent);
        XCloseDisplay(dpy);
    }

    Window makeParent()
    {
        const int screen = DefaultScreen(dpy);
        Window w = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 200, 200, 300, 200, 0, BlackPixel(dpy, screen),
                                       BlackPixel(dpy, screen));
        XMapWindow(dpy, w);
        XSync(dpy, False);
        waitUntil([&] {
            XWindowAttributes a;
            XGetWindowAttributes(dpy, w, &a);
            return a.map_state == IsViewable;
        });
        return w;
    }
    static void* handle(Window w) { return reinterpret_cast<void*>(static_cast<uintptr_t>(w)); }
    static Window windowOf(GuiFrame& frame) { return dynamic_cast<X11Window&>(*frame.window()).window(); }

    bool waitUntil(const std::function<bool()>& done, GuiFrame* frame = nullptr)
    {
        const auto end = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < end) {
            if (frame)
                frame->idle();
            XSync(dpy, False);
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    GuiColor pixel(Window w, int x, int y)
    {
        XImage* image = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return {1, 2, 3, 0};
        const unsigned long p = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), 0};
    }
    GuiPoint onScreen(Window w, GuiPoint p)
    {
        int x, y;
        Window child;
        XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), p.x, p.y, &x, &y, &child);
        return {x, y};
    }
    void moveTo(GuiPoint screenPoint)
    {
        XTestFakeMotionEvent(dpy, DefaultScreen(dpy), screenPoint.x, screenPoint.y, CurrentTime);
        XSync(dpy, False);
    }
    void key(KeySym sym)
    {
        const KeyCode code = XKeysymToKeycode(dpy, sym);
        XTestFakeKeyEvent(dpy, code, True, CurrentTime);
        XTestFakeKeyEvent(dpy, code, False, CurrentTime);
        XSync(dpy, False);
    }
    void button(bool down)
    {
        XTestFakeButtonEvent(dpy, 1, down, CurrentTime);
        XSync(dpy, False);
    }
};

// Moves the real pointer from inside the tracking loop, as a hand would.
struct PumpingOwner : Owner {
    std::function<void(int)> onPump;
    void pumpIdle() override
    {
        Owner::pumpIdle();
        if (onPump)
            onPump(pumps);
    }
};

TEST_F(X11Test, EmbeddedFrameTakesADragAClickAndRedrawsOnExposure)
{
    PumpingOwner owner;
    Recorder recorder;
    GuiFrame frame({0, 0, 200, 150}, handle(parent), &owner);
    ASSERT_TRUE(frame.isOpen());
    const Window w = windowOf(frame);
    GuiBitmap* strip = makeStrip(21, 27, 92);
    auto* knob = new FilmstripKnob({20, 30, 41, 57}, &recorder, 3, 92, 27, strip);
    frame.addView(knob);
    strip->release();
    GuiBitmap* toggleStrip = makeStrip(16, 16, 2);
    auto* toggle = new ToggleButton({100, 30, 116, 46}, &recorder, 44, toggleStrip);
    frame.addView(toggle);
    toggleStrip->release();

    ASSERT_TRUE(waitUntil([&] { return pixel(w, 30, 40) == stripColour(0); }, &frame)) << "never painted";

    setKnobMode(kKnobLinear);
    const GuiPoint start = onScreen(w, {30, 40});
    owner.onPump = [&](int pump) {
        if (pump == 1)
            moveTo({start.x, start.y - 50});
        else if (pump == 3)
            button(false);
    };
    moveTo(start);
    button(true);
    ASSERT_TRUE(waitUntil([&] { return !owner.ended.empty(); }, &frame));
    owner.onPump = nullptr;
    EXPECT_NEAR(knob->getValue(), 0.25f, 1e-5f);
    EXPECT_EQ(owner.begun, std::vector<int>{3});
    EXPECT_TRUE(waitUntil([&] { return pixel(w, 30, 40) == stripColour(22); }, &frame));

    // Pressed and released before the frame looks at its events: still a click.
    moveTo(onScreen(w, {105, 35}));
    button(true);
    button(false);
    ASSERT_TRUE(waitUntil([&] { return toggle->getValue() == 1.0f; }, &frame));
    EXPECT_TRUE(waitUntil([&] { return pixel(w, 108, 38) == stripColour(1); }, &frame));

    // Paint over the window behind the frame's back, then expose it.
    GC gc = XCreateGC(dpy, w, 0, nullptr);
    XSetForeground(dpy, gc, 0);
    XFillRectangle(dpy, w, gc, 0, 0, 200, 150);
    XFreeGC(dpy, gc);
    XSync(dpy, False);
    EXPECT_EQ(pixel(w, 30, 40), kColorBlack);
    XClearArea(dpy, w, 0, 0, 0, 0, True);
    EXPECT_TRUE(waitUntil([&] { return pixel(w, 30, 40) == stripColour(22); }, &frame));
    EXPECT_EQ(X11Window::errorCount(), 0);
}

TEST_F(X11Test, TextFieldIsEditedWithTheRealKeyboard)
{
    Recorder recorder;
    GuiFrame frame({0, 0, 200, 150}, handle(parent), nullptr);
    auto* field = new TextField({10, 10, 110, 24}, &recorder, 73, "old");
    frame.addView(field);
    ASSERT_TRUE(waitUntil([&] { return pixel(windowOf(frame), 12, 12) == kColorBlack; }, &frame));

    moveTo(onScreen(windowOf(frame), {50, 15}));
    button(true);
    button(false);
    ASSERT_TRUE(waitUntil([&] { return field->isEditing(); }, &frame));
    ASSERT_TRUE(waitUntil([&] {
        Window focus;
        int revert;
        XGetInputFocus(dpy, &focus, &revert);
        return focus == windowOf(frame);
    }));
    for (KeySym sym : {XK_n, XK_e, XK_w, XK_BackSpace, XK_x, XK_Escape, XK_Home, XK_Delete, XK_Return})
        key(sym);
    ASSERT_TRUE(waitUntil([&] { return !field->isEditing(); }, &frame));
    EXPECT_EQ(field->getText(), "ex");
    EXPECT_EQ(recorder.tags, std::vector<int>{73});
}

TEST_F(X11Test, OpenedAndClosedFiftyTimesWithoutLeakOrError)
{
    // Text and bitmaps drawn and shown, as an editor does.
    auto openDrawAndClose = [&] {
        auto* frame = new GuiFrame({0, 0, 120, 80}, handle(parent), nullptr);
        ASSERT_TRUE(frame->isOpen());
        GuiBitmap* strip = makeStrip(21, 27, 92);
        frame->addView(new FilmstripKnob({0, 0, 21, 27}, nullptr, 1, 92, 27, strip));
        frame->addView(new TextField({30, 0, 110, 14}, nullptr, 2, "Text 123"));
        frame->setBackground(strip);
        strip->release();
        frame->idle();
        frame->idle();
        delete frame;
    };
    const int errorsBefore = X11Window::errorCount();
    const int filesBefore = openFileCount();
    // The first rounds fill caches that live as long as the process.
    for (int i = 0; i < 10; ++i)
        openDrawAndClose();
    const long residentBefore = residentKilobytes();
    for (int i = 0; i < 50; ++i)
        openDrawAndClose();
    if (testsupport::kResidentSizeTracksLeaks) {
        EXPECT_LT(residentKilobytes() - residentBefore, 64) << "KiB the process grew by over fifty rounds";
    }

    // Opened again without closing the first.
    auto* first = new GuiFrame({0, 0, 120, 80}, handle(parent), nullptr);
    auto* second = new GuiFrame({0, 0, 120, 80}, handle(parent), nullptr);
    EXPECT_TRUE(first->isOpen() && second->isOpen());
    delete first;
    delete second;

    XSync(dpy, False);
    Window root, up, *children = nullptr;
    unsigned int count = 99;
    XQueryTree(dpy, parent, &root, &up, &children, &count);
    if (children)
        XFree(children);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(openFileCount(), filesBefore);
    EXPECT_EQ(X11Window::errorCount(), errorsBefore);
}

TEST_F(X11Test, HostDestroyingItsWindowFirstClosesTheFrameSafely)
{
    Window doomed = makeParent();
    auto* frame = new GuiFrame({0, 0, 100, 100}, handle(doomed), nullptr);
    ASSERT_TRUE(frame->isOpen());
    XDestroyWindow(dpy, doomed);
    XSync(dpy, False);
    EXPECT_TRUE(waitUntil([&] { return !frame->isOpen(); }, frame));
    EXPECT_FALSE(frame->onWheel(1.0f));
    delete frame;
}

TEST_F(X11Test, NoFrameWindowForAParentThatDoesNotExist)
{
    GuiFrame frame({0, 0, 100, 100}, handle(0x7ffffff0), nullptr);
    EXPECT_FALSE(frame.isOpen());
    frame.idle();
    frame.drawNow();
}

} // namespace
