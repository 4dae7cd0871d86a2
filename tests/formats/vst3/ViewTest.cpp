#include "FormatComparison.h"
#include "OpenFiles.h"
#include "PrivateXServer.h"
#include "ResidentSize.h"
#include "Vst3Plugin.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>

// Last: Xlib's macros (None, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// The view in an X window of this process, driven only through the run loop
// the host offers it, as Linux hosts do.

namespace {

class Vst3View : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(server.display.empty()) << "no Xvfb";
        setenv("DISPLAY", server.display.c_str(), 1);
        unsetenv("GRELMOND_INSTALL_PATH");
        std::string error;
        ASSERT_TRUE(plugin.load(vst3test::vst3Path(), 44100.0f, 512, error)) << error;
        display = XOpenDisplay(server.display.c_str());
        ASSERT_NE(display, nullptr);
        ASSERT_TRUE(plugin.editorSize(width, height));
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, unsigned(width), unsigned(height), 0,
                                     0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
    }

    void TearDown() override
    {
        plugin.unload();
        if (display != nullptr) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }

    void *handle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }

    // Runs the host's loop for about `milliseconds`.
    void runLoop(int milliseconds)
    {
        for (int t = 0; t < milliseconds; t += 10)
            plugin.frame().dispatch(std::chrono::milliseconds(10));
    }

    // How many different colours the plug-in's window shows.
    int coloursShown()
    {
        Window root = 0, parentOf = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display, parent, &root, &parentOf, &children, &count);
        if (count == 0)
            return 0;
        const Window child = children[0];
        XFree(children);
        XImage* image = XGetImage(display, child, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
        if (image == nullptr)
            return 0;
        std::set<unsigned long> colours;
        for (int y = 0; y < height; y += 3)
            for (int x = 0; x < width; x += 3)
                colours.insert(XGetPixel(image, x, y));
        XDestroyImage(image);
        return static_cast<int>(colours.size());
    }

    testsupport::PrivateXServer server;
    host::Vst3Plugin plugin;
    Display* display = nullptr;
    Window parent = 0;
    int width = 0, height = 0;
};

} // namespace

TEST_F(Vst3View, OpensAtTheEditorsSizeAndDrawsThePanelThroughTheRunLoop)
{
    EXPECT_EQ(width, 629);
    EXPECT_EQ(height, 484);
    ASSERT_TRUE(plugin.openEditor(handle()));
    EXPECT_EQ(plugin.frame().handlerCount(), 1) << "the X connection, served by the host";
    EXPECT_EQ(plugin.frame().timerCount(), 1);
    int colours = 0;
    for (int waited = 0; waited < 3000 && colours <= 50; waited += 50) {
        runLoop(50);
        XSync(display, False);
        colours = coloursShown();
    }
    EXPECT_GT(colours, 50) << "the panel's bitmaps, not an empty window";
    plugin.closeEditor();
    EXPECT_EQ(plugin.frame().handlerCount(), 0);
    EXPECT_EQ(plugin.frame().timerCount(), 0);
}

TEST_F(Vst3View, SurvivesFiftyOpenCloseCyclesWithoutGrowing)
{
    // Warm-up cycles let the drawing libraries fill their caches first.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(plugin.openEditor(handle()));
        runLoop(30);
        plugin.closeEditor();
    }
    const long residentBefore = testsupport::residentKilobytes();
    const int filesBefore = testsupport::openFileCount();
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(plugin.openEditor(handle())) << "cycle " << i;
        runLoop(20);
        plugin.closeEditor();
    }
    EXPECT_EQ(testsupport::openFileCount(), filesBefore) << "every X connection closed";
    if (testsupport::kResidentSizeTracksLeaks)
        EXPECT_LT(testsupport::residentKilobytes() - residentBefore, 4096);
    EXPECT_EQ(plugin.frame().handlerCount(), 0);
    EXPECT_EQ(plugin.frame().timerCount(), 0);
}

TEST_F(Vst3View, RefusesOtherWindowKindsAndAMissingParent)
{
    EXPECT_FALSE(plugin.openEditor(nullptr));
    Steinberg::IPlugView* view = plugin.controller()->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(Steinberg::kPlatformTypeHWND), Steinberg::kResultFalse);
    EXPECT_NE(view->attached(handle(), Steinberg::kPlatformTypeNSView), Steinberg::kResultOk);
    EXPECT_EQ(view->removed(), Steinberg::kResultOk) << "removing what never opened is harmless";
    view->release();
    EXPECT_EQ(plugin.controller()->createView("no such view"), nullptr);
    EXPECT_EQ(plugin.controller()->createView(nullptr), nullptr);
}
