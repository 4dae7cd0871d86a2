// gtest first: the X11 headers define macros that clash with its names.
#include <gtest/gtest.h>

#include "PrivateXServer.h"
#include "ScopedEnv.h"

#include "gui/x11/X11Window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cmath>
#include <cstdint>

using namespace grelmond;

namespace {

unsigned long pixelAt(Display* dpy, Window w, int x, int y)
{
    XImage* image = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0ul;
    const unsigned long p = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return p;
}

// The 5-6-5 pixel nearest to an 8-bit colour.
unsigned long nearest565(int r, int g, int b)
{
    auto level = [](int c, int top) { return static_cast<unsigned long>(std::lround(c * top / 255.0)); };
    return level(r, 31) << 11 | level(g, 63) << 5 | level(b, 31);
}

void fill(cairo_t* cr, double x, double y, double w, double h, int r, int g, int b)
{
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0);
    cairo_fill(cr);
}

} // namespace

TEST(X11Backbuffer, SixteenBitScreenShowsTheNearestColoursAndEveryChange)
{
    testsupport::PrivateXServer server(16);
    ASSERT_FALSE(server.display.empty()) << "Xvfb did not start";
    ScopedEnv display("DISPLAY", server.display.c_str()); // the window opens its own connection
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    ASSERT_EQ(DefaultDepth(dpy, DefaultScreen(dpy)), 16);
    const Window parent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 100, 60, 0, 0, 0);
    XMapWindow(dpy, parent);
    XSync(dpy, False);

    auto window = X11Window::create(parent, 100, 60);
    ASSERT_NE(window, nullptr);
    const Window w = window->window();
    cairo_t* cr = cairo_create(window->surface());
    fill(cr, 0, 0, 100, 60, 0x12, 0x34, 0x56);
    window->flush();
    XSync(window->display(), False);
    EXPECT_EQ(pixelAt(dpy, w, 50, 30), nearest565(0x12, 0x34, 0x56));

    // Two pixels at opposite corners change; both reach the screen, the rest stays.
    fill(cr, 0, 0, 1, 1, 255, 255, 255);
    fill(cr, 99, 59, 1, 1, 255, 0, 0);
    window->flush();
    XSync(window->display(), False);
    EXPECT_EQ(pixelAt(dpy, w, 0, 0), 0xfffful);
    EXPECT_EQ(pixelAt(dpy, w, 99, 59), 0xf800ul);
    EXPECT_EQ(pixelAt(dpy, w, 50, 30), nearest565(0x12, 0x34, 0x56));

    // After an exposure everything is sent again, changed or not.
    XSetWindowBackground(dpy, w, 0);
    XClearWindow(dpy, w);
    XSync(dpy, False);
    ASSERT_EQ(pixelAt(dpy, w, 50, 30), 0ul);
    XClearArea(dpy, w, 0, 0, 0, 0, True);
    XSync(dpy, False);
    window->processEvents();
    window->flush();
    XSync(window->display(), False);
    EXPECT_EQ(pixelAt(dpy, w, 50, 30), nearest565(0x12, 0x34, 0x56));

    cairo_destroy(cr);
    window.reset();
    XDestroyWindow(dpy, parent);
    XCloseDisplay(dpy);
}
