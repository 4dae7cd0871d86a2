#include "FormatComparison.h"
#include "PrivateXServer.h"
#include "ScopedEnv.h"
#include "TempFolder.h"
#include "Vst3PlugFrame.h"
#include "Vst3Plugin.h"
#include "formats/vst3/Vst3Instrument.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

// Last: Xlib's macros (None, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// The view's zoom: the host's content scale sets the size the view reports,
// and a new size, from the host or chosen in the editor, reaches the frame's
// resizeView from the run loop.

namespace {

using Steinberg::IPlugView;
using Steinberg::IPlugViewContentScaleSupport;
using Steinberg::kResultOk;
using Steinberg::ViewRect;

IPlugViewContentScaleSupport* scaleSupport(IPlugView* view)
{
    void* object = nullptr;
    if (view->queryInterface(IPlugViewContentScaleSupport::iid, &object) != kResultOk)
        return nullptr;
    return static_cast<IPlugViewContentScaleSupport*>(object);
}

ViewRect sizeOf(IPlugView* view)
{
    ViewRect rect;
    view->getSize(&rect);
    return rect;
}

class Vst3ViewScale : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(server.display.empty()) << "no Xvfb";
        setenv("DISPLAY", server.display.c_str(), 1);
        display = XOpenDisplay(server.display.c_str());
        ASSERT_NE(display, nullptr);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 629, 484, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
    }

    void TearDown() override
    {
        if (display != nullptr) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }

    void* handle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }

    // Runs the host's loop until the view asks for `width`, for at most two seconds.
    void runLoopUntilAsked(host::Vst3PlugFrame& frame, int width)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (frame.requestedWidth() != width && std::chrono::steady_clock::now() < end)
            frame.dispatch(std::chrono::milliseconds(10));
    }

    // Runs the host's loop for a while, as it does between events.
    static void runLoopFor(host::Vst3PlugFrame& frame, std::chrono::milliseconds time)
    {
        const auto end = std::chrono::steady_clock::now() + time;
        while (std::chrono::steady_clock::now() < end)
            frame.dispatch(std::chrono::milliseconds(10));
    }

    // The editor's window: the one child of the host's window (0 for none or several).
    Window editorWindow()
    {
        Window root = 0, up = 0, *children = nullptr;
        unsigned count = 0;
        XSync(display, False);
        XQueryTree(display, parent, &root, &up, &children, &count);
        const Window only = count == 1 ? children[0] : 0;
        if (children != nullptr)
            XFree(children);
        return only;
    }

    struct Shape {
        int width = 0, height = 0, minWidth = 0, maxWidth = 0, baseWidth = 0, baseHeight = 0;
    };
    // A window's size, and the size hints an embedding host reads from it.
    Shape shapeOf(Window window)
    {
        Shape shape;
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, window, &attributes)) {
            shape.width = attributes.width;
            shape.height = attributes.height;
        }
        XSizeHints hints{};
        long supplied = 0;
        if (XGetWMNormalHints(display, window, &hints, &supplied)) {
            shape.minWidth = hints.flags & PMinSize ? hints.min_width : 0;
            shape.maxWidth = hints.flags & PMaxSize ? hints.max_width : 0;
            shape.baseWidth = hints.flags & PBaseSize ? hints.base_width : 0;
            shape.baseHeight = hints.flags & PBaseSize ? hints.base_height : 0;
        }
        return shape;
    }

    testsupport::PrivateXServer server;
    Display* display = nullptr;
    Window parent = 0;
};

} // namespace

TEST_F(Vst3ViewScale, ContentScaleSetsTheReportedSizeAndOddFactorsAreSafe)
{
    unsetenv("GRELMOND_INSTALL_PATH");
    host::Vst3Plugin plugin;
    std::string error;
    ASSERT_TRUE(plugin.load(vst3test::vst3Path(), 44100.0f, 512, error)) << error;
    IPlugView* view = plugin.controller()->createView("editor");
    ASSERT_NE(view, nullptr);
    IPlugViewContentScaleSupport* scaling = scaleSupport(view);
    ASSERT_NE(scaling, nullptr);

    EXPECT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
    EXPECT_EQ(sizeOf(view).getWidth(), 1258);
    EXPECT_EQ(sizeOf(view).getHeight(), 968);
    ViewRect asked(0, 0, 100, 100);
    view->checkSizeConstraint(&asked);
    EXPECT_EQ(asked.getWidth(), 1258) << "the view keeps the size of its zoom";

    EXPECT_NE(scaling->setContentScaleFactor(std::nanf("")), kResultOk);
    EXPECT_NE(scaling->setContentScaleFactor(INFINITY), kResultOk);
    EXPECT_NE(scaling->setContentScaleFactor(-1.0f), kResultOk);
    EXPECT_EQ(sizeOf(view).getWidth(), 1258) << "refused factors change nothing";

    EXPECT_EQ(scaling->setContentScaleFactor(0.5f), kResultOk);
    EXPECT_EQ(sizeOf(view).getWidth(), 629) << "clamped to 1";
    EXPECT_EQ(scaling->setContentScaleFactor(9.0f), kResultOk);
    EXPECT_EQ(sizeOf(view).getHeight(), 968) << "clamped to 2";

    scaling->release();
    view->release();
    plugin.unload();
}

TEST_F(Vst3ViewScale, ANewZoomReachesTheHostsResizeViewFromTheRunLoop)
{
    TempFolder install; // the chosen zoom is remembered here, not in the user's folder
    ScopedEnv installPath("GRELMOND_INSTALL_PATH", install.path().c_str());
    grelmond::vst3::Vst3Instrument* instrument = grelmond::vst3::Vst3Instrument::create();
    ASSERT_NE(instrument, nullptr);
    host::Vst3PlugFrame frame;
    IPlugView* view = instrument->createView("editor");
    ASSERT_NE(view, nullptr);
    IPlugViewContentScaleSupport* scaling = scaleSupport(view);
    ASSERT_NE(scaling, nullptr);
    view->setFrame(&frame);
    scaling->setContentScaleFactor(1.0f);
    ASSERT_EQ(view->attached(handle(), Steinberg::kPlatformTypeX11EmbedWindowID), kResultOk);
    const Window window = editorWindow();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(shapeOf(window).baseWidth, 629) << "hosts size their socket from the hints";

    // The host's factor changes while open: the editor is resized at idle, then asks.
    scaling->setContentScaleFactor(2.0f);
    EXPECT_EQ(frame.requestedWidth(), 0) << "never from inside the host's call";
    runLoopUntilAsked(frame, 1258);
    EXPECT_EQ(frame.requestedWidth(), 1258);
    EXPECT_EQ(frame.requestedHeight(), 968);
    EXPECT_EQ(frame.widthDuringResize(), 1258) << "getSize inside resizeView gives the new size";
    EXPECT_EQ(frame.handlerCount(), 1) << "the X connection, served by the host";
    EXPECT_EQ(editorWindow(), window) << "the host's embedded window lives on, resized in place";
    const Shape doubled = shapeOf(window);
    EXPECT_EQ(doubled.width, 1258);
    EXPECT_EQ(doubled.height, 968);
    EXPECT_EQ(doubled.minWidth, 0) << "a minimum would pin a GTK 2 host's socket to the first size";
    EXPECT_EQ(doubled.baseWidth, 1258);
    EXPECT_EQ(doubled.maxWidth, 1258);
    EXPECT_EQ(doubled.baseHeight, 968);

    // The user's choice in the editor asks as well, over the host's factor
    // (Ardour passes 1.0 whatever the screen).
    instrument->editor().chooseScale(1.5);
    runLoopUntilAsked(frame, 944);
    EXPECT_EQ(frame.requestedWidth(), 944);
    EXPECT_EQ(frame.requestedWidth(), instrument->editor().width());
    EXPECT_EQ(sizeOf(view).getWidth(), frame.requestedWidth());
    EXPECT_EQ(editorWindow(), window);
    EXPECT_EQ(shapeOf(window).width, 944);

    view->removed();
    EXPECT_EQ(frame.handlerCount(), 0);
    EXPECT_EQ(frame.timerCount(), 0);
    view->setFrame(nullptr);
    scaling->release();
    view->release();
    instrument->release();
}

TEST_F(Vst3ViewScale, AHostThatKeepsItsSizeGetsTheEditorBackAtThatSize)
{
    TempFolder install;
    ScopedEnv installPath("GRELMOND_INSTALL_PATH", install.path().c_str());
    grelmond::vst3::Vst3Instrument* instrument = grelmond::vst3::Vst3Instrument::create();
    ASSERT_NE(instrument, nullptr);
    host::Vst3PlugFrame frame;
    frame.refuseResizes(true);
    IPlugView* view = instrument->createView("editor");
    ASSERT_NE(view, nullptr);
    view->setFrame(&frame);
    instrument->editor().setHostScale(1.0);
    ASSERT_EQ(view->attached(handle(), Steinberg::kPlatformTypeX11EmbedWindowID), kResultOk);
    const Window window = editorWindow();

    instrument->editor().setHostScale(0.0);
    instrument->editor().chooseScale(2.0);
    runLoopUntilAsked(frame, 1258);
    runLoopFor(frame, std::chrono::milliseconds(300));
    EXPECT_EQ(frame.requestCount(), 1) << "the size the host kept is not asked for again";
    EXPECT_EQ(sizeOf(view).getWidth(), 629);
    EXPECT_EQ(instrument->editor().scale(), 1.0);
    EXPECT_EQ(editorWindow(), window);
    EXPECT_EQ(shapeOf(window).width, 629) << "the picture fits the host's window again";
    ViewRect same(0, 0, 629, 484);
    EXPECT_EQ(view->onSize(&same), kResultOk);
    ViewRect other(0, 0, 1258, 968);
    EXPECT_NE(view->onSize(&other), kResultOk) << "a fixed-size view takes no other size";

    // A host that later takes sizes gets the next choice.
    frame.refuseResizes(false);
    instrument->editor().chooseScale(1.5);
    runLoopUntilAsked(frame, 944);
    EXPECT_EQ(frame.widthDuringResize(), 944);
    EXPECT_EQ(shapeOf(window).width, 944);

    view->removed();
    view->setFrame(nullptr);
    view->release();
    instrument->release();
}
