#include "EditorWindow.h"

#include "Instrument.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

namespace host {

namespace {

constexpr auto kIdleInterval = std::chrono::milliseconds(40);
constexpr auto kCycleTime = std::chrono::milliseconds(500);

struct EditorSize {
    int width = 0;
    int height = 0;
};

// The window keeps exactly the editor's size; a zoom change in the editor asks for another.
void fixSize(Display* display, Window window, EditorSize size)
{
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = size.width;
    hints.min_height = hints.max_height = size.height;
    XSetWMNormalHints(display, window, &hints);
}

void resizeTopLevel(Display* display, Window window, EditorSize size)
{
    fixSize(display, window, size);
    XResizeWindow(display, window, unsigned(size.width), unsigned(size.height));
    XFlush(display);
}

Window makeTopLevel(Display* display, EditorSize size, Atom deleteWindow)
{
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, unsigned(size.width),
                                        unsigned(size.height), 0, BlackPixel(display, screen),
                                        BlackPixel(display, screen));
    XStoreName(display, window, "Grelmond");
    fixSize(display, window, size);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

// True once the user asked to close the window or it is gone.
bool closeRequested(Display* display, Window window, Atom deleteWindow)
{
    bool close = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ClientMessage && event.xclient.window == window &&
            Atom(event.xclient.data.l[0]) == deleteWindow)
            close = true;
        else if (event.type == DestroyNotify && event.xdestroywindow.window == window)
            close = true;
    }
    return close;
}

// One opening of the editor: until the user closes the window, or for one cycle.
int showEditor(Instrument& plugin, Display* display, bool oneCycle)
{
    EditorSize size;
    if (!plugin.editorSize(size.width, size.height)) {
        std::fprintf(stderr, "grelmond-host: the plug-in has no editor\n");
        return 1;
    }
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    const Window window = makeTopLevel(display, size, deleteWindow);
    plugin.setEditorWindowResizer([display, window](int width, int height) {
        resizeTopLevel(display, window, {width, height});
        return true;
    });
    void* handle = reinterpret_cast<void*>(static_cast<uintptr_t>(window));
    if (!plugin.openEditor(handle)) {
        std::fprintf(stderr, "grelmond-host: the editor did not open\n");
        plugin.setEditorWindowResizer(nullptr);
        XDestroyWindow(display, window);
        XSync(display, False);
        return 1;
    }
    const auto end = std::chrono::steady_clock::now() + kCycleTime;
    while (!closeRequested(display, window, deleteWindow) && !(oneCycle && std::chrono::steady_clock::now() >= end)) {
        plugin.idleEditor();
        const auto [width, height] = plugin.takeEditorSizeRequest();
        if (width > 0)
            resizeTopLevel(display, window, {width, height});
        std::this_thread::sleep_for(kIdleInterval);
    }
    plugin.closeEditor();
    plugin.setEditorWindowResizer(nullptr);
    XDestroyWindow(display, window);
    XSync(display, False);
    return 0;
}

} // namespace

int runEditorWindow(const std::string& pluginPath, float sampleRate, int blockSize, int cycles)
{
    std::string error;
    std::unique_ptr<Instrument> plugin = openInstrument(pluginPath, sampleRate, blockSize, error);
    if (plugin == nullptr) {
        std::fprintf(stderr, "grelmond-host: %s\n", error.c_str());
        return 1;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "grelmond-host: cannot open the X display\n");
        return 1;
    }
    int result = 0;
    for (int cycle = 0; cycle < std::max(cycles, 1) && result == 0; ++cycle)
        result = showEditor(*plugin, display, cycles > 0);
    XCloseDisplay(display);
    plugin.reset();
    // The drawing libraries the editor used keep caches for the life of the
    // process; emptied here so that a leak checker sees only real leaks.
    cairo_debug_reset_static_data();
    FcFini();
    return result;
}

} // namespace host
