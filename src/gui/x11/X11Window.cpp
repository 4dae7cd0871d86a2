#include "gui/x11/X11Window.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace grelmond {

namespace {

constexpr int kDoubleClickMs = 400;

// Process-wide: the connections whose errors are ours to ignore, and the handler
// that was installed before ours. Only touched on the UI thread.
std::vector<Display*> gOurDisplays;
XErrorHandler gPreviousHandler = nullptr;
bool gErrorSeen = false;
int gErrorCount = 0;

int ignoreOwnErrors(Display* display, XErrorEvent* error)
{
    if (std::find(gOurDisplays.begin(), gOurDisplays.end(), display) != gOurDisplays.end()) {
        gErrorSeen = true;
        ++gErrorCount;
        return 0;
    }
    return gPreviousHandler ? gPreviousHandler(display, error) : 0;
}

void adoptDisplay(Display* display)
{
    if (gOurDisplays.empty())
        gPreviousHandler = XSetErrorHandler(ignoreOwnErrors);
    gOurDisplays.push_back(display);
}

void disownDisplay(Display* display)
{
    gOurDisplays.erase(std::remove(gOurDisplays.begin(), gOurDisplays.end(), display), gOurDisplays.end());
    if (!gOurDisplays.empty())
        return;
    // Put the earlier handler back unless someone replaced ours meanwhile.
    XErrorHandler current = XSetErrorHandler(gPreviousHandler);
    if (current != ignoreOwnErrors)
        XSetErrorHandler(current);
    gPreviousHandler = nullptr;
}

// True when the requests so far on this connection raised no error.
bool syncWithoutErrors(Display* display)
{
    gErrorSeen = false;
    XSync(display, False);
    return !gErrorSeen;
}

int buttonBits(unsigned int mask)
{
    int bits = 0;
    if (mask & Button1Mask) bits |= kMouseLeft;
    if (mask & Button2Mask) bits |= kMouseMiddle;
    if (mask & Button3Mask) bits |= kMouseRight;
    if (mask & ShiftMask) bits |= kMouseShift;
    if (mask & ControlMask) bits |= kMouseControl;
    if (mask & Mod1Mask) bits |= kMouseAlt;
    return bits;
}

int pressedBit(unsigned int button)
{
    return button == Button1 ? kMouseLeft : button == Button2 ? kMouseMiddle : kMouseRight;
}

// The editor's one size at its zoom, as base and maximum size: embedding
// hosts size their socket from the base and never stretch the window past the
// maximum. No minimum: GTK 2 hosts (through suil) would pin their socket to it
// and never grow after a zoom.
void setSizeHints(Display* display, Window window, int width, int height)
{
    XSizeHints hints{};
    hints.flags = PMaxSize | PBaseSize;
    hints.max_width = hints.base_width = width;
    hints.max_height = hints.base_height = height;
    XSetWMNormalHints(display, window, &hints);
}

} // namespace

std::unique_ptr<X11Window> X11Window::create(unsigned long parent, int width, int height)
{
    if (!parent || width <= 0 || height <= 0)
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    adoptDisplay(display);

    XWindowAttributes parentAttributes;
    gErrorSeen = false;
    const Status parentOk = XGetWindowAttributes(display, parent, &parentAttributes);
    if (!parentOk || !syncWithoutErrors(display)) {
        disownDisplay(display);
        XCloseDisplay(display);
        return nullptr;
    }

    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None; // we paint everything; no flash of background
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask |
                            KeyPressMask | FocusChangeMask | StructureNotifyMask;
    const Window window = XCreateWindow(display, parent, 0, 0, unsigned(width), unsigned(height), 0,
                                        CopyFromParent, InputOutput, CopyFromParent,
                                        CWBackPixmap | CWEventMask, &attributes);
    XStoreName(display, window, "Window");
    setSizeHints(display, window, width, height);
    XMapWindow(display, window);
    XWindowAttributes own{};
    const Status ownOk = XGetWindowAttributes(display, window, &own);
    std::unique_ptr<X11Backbuffer> pixels =
        ownOk ? X11Backbuffer::create(display, own.visual, own.depth, width, height) : nullptr;
    if (!syncWithoutErrors(display) || !pixels) {
        XDestroyWindow(display, window);
        XSync(display, False);
        disownDisplay(display);
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<X11Window>(new X11Window(display, parent, window, own, std::move(pixels)));
}

int X11Window::errorCount() { return gErrorCount; }

X11Window::X11Window(Display* display, Window parent, Window window, const XWindowAttributes& own,
                     std::unique_ptr<X11Backbuffer> pixels)
    : display_(display), parent_(parent), window_(window), visual_(own.visual), depth_(own.depth),
      pixels_(std::move(pixels)),
      gc_(XCreateGC(display, window, 0, nullptr))
{
}

X11Window::~X11Window()
{
    pixels_.reset();
    XFreeGC(display_, gc_);
    // The host may have destroyed its window (and ours with it) already; the
    // error that would cause is ignored.
    if (!closed_)
        XDestroyWindow(display_, window_);
    XSync(display_, False);
    XCloseDisplay(display_);
    disownDisplay(display_);
}

bool X11Window::resize(int width, int height)
{
    if (closed_ || width <= 0 || height <= 0)
        return false;
    std::unique_ptr<X11Backbuffer> pixels = X11Backbuffer::create(display_, visual_, depth_, width, height);
    if (!pixels)
        return false;
    pixels_ = std::move(pixels);
    // The hints go first: a host reads them when it learns of the new size.
    setSizeHints(display_, window_, width, height);
    XResizeWindow(display_, window_, unsigned(width), unsigned(height));
    // The host reads the hints and the size on its own connection.
    XSync(display_, False);
    return true;
}

int X11Window::mouseButtons()
{
    if (closed_)
        return 0;
    Window root, child;
    int rootX, rootY, x, y;
    unsigned int mask = 0;
    XQueryPointer(display_, window_, &root, &child, &rootX, &rootY, &x, &y, &mask);
    return buttonBits(mask);
}

GuiPoint X11Window::mouseLocation()
{
    if (closed_)
        return {};
    Window root, child;
    int rootX, rootY, x = 0, y = 0;
    unsigned int mask = 0;
    XQueryPointer(display_, window_, &root, &child, &rootX, &rootY, &x, &y, &mask);
    return {x, y};
}

bool X11Window::waitDoubleClick()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDoubleClickMs);
    while (!closed_ && std::chrono::steady_clock::now() < deadline) {
        XEvent event;
        if (XCheckTypedWindowEvent(display_, window_, ButtonPress, &event)) {
            if (event.xbutton.button == Button1)
                return true;
            XPutBackEvent(display_, &event);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void X11Window::processEvents()
{
    while (!closed_ && XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        dispatch(event);
    }
}

void X11Window::dispatch(XEvent& event)
{
    if (event.xany.window != window_)
        return;
    switch (event.type) {
    case Expose:
        pixels_->invalidate();
        if (event.xexpose.count == 0 && events_)
            events_->onPaint();
        break;
    case ButtonPress:
        if (!events_)
            break;
        if (event.xbutton.button == Button4)
            events_->onWheelEvent(1.0f);
        else if (event.xbutton.button == Button5)
            events_->onWheelEvent(-1.0f);
        else if (event.xbutton.button <= Button3)
            events_->onMouseDown({event.xbutton.x, event.xbutton.y},
                                 buttonBits(event.xbutton.state) | pressedBit(event.xbutton.button));
        break;
    case KeyPress:
        dispatchKey(event.xkey);
        break;
    case MotionNotify:
        // Only where the pointer rests now matters; the moves queued behind it go.
        while (XCheckTypedWindowEvent(display_, window_, MotionNotify, &event)) {
        }
        if (events_ && (event.xmotion.state & (Button1Mask | Button2Mask | Button3Mask)) == 0)
            events_->onMouseMove({event.xmotion.x, event.xmotion.y});
        break;
    case LeaveNotify:
        // Off the window: over no view, so the keyboard goes back to the host.
        if (events_ && event.xcrossing.mode == NotifyNormal)
            events_->onMouseMove({-1, -1});
        break;
    case FocusOut:
        // Only a real move of the focus elsewhere; pointer-root focus and grabs come and go.
        if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
            event.xfocus.detail != NotifyPointer && events_)
            events_->onFocusLost();
        break;
    case DestroyNotify:
        closed_ = true;
        if (events_)
            events_->onWindowDestroyed();
        break;
    default:
        break;
    }
}

void X11Window::dispatchKey(XKeyEvent& event)
{
    if (!events_)
        return;
    char text[8] = {};
    KeySym sym = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text, &sym, nullptr);
    GuiKeyEvent key;
    key.shift = (event.state & ShiftMask) != 0;
    switch (sym) {
    case XK_Left: case XK_KP_Left: key.key = GuiKey::Left; break;
    case XK_Right: case XK_KP_Right: key.key = GuiKey::Right; break;
    case XK_Home: case XK_KP_Home: key.key = GuiKey::Home; break;
    case XK_End: case XK_KP_End: key.key = GuiKey::End; break;
    case XK_BackSpace: key.key = GuiKey::Backspace; break;
    case XK_Delete: case XK_KP_Delete: key.key = GuiKey::Delete; break;
    case XK_Return: case XK_KP_Enter: key.key = GuiKey::Enter; break;
    case XK_Escape: key.key = GuiKey::Escape; break;
    case XK_Up: case XK_KP_Up: key.key = GuiKey::Up; break;
    case XK_Down: case XK_KP_Down: key.key = GuiKey::Down; break;
    default:
        if (length == 1) {
            key.key = GuiKey::Character;
            key.character = static_cast<unsigned char>(text[0]);
        }
        break;
    }
    events_->onKey(key);
}

void X11Window::flush()
{
    if (closed_)
        return;
    pixels_->put(display_, window_, gc_);
    XFlush(display_);
}

void X11Window::takeKeyboardFocus()
{
    if (!closed_)
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
}

} // namespace grelmond

namespace grelmond {

void X11Window::releaseKeyboardFocus()
{
    if (closed_)
        return;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    if (focus == window_)
        XSetInputFocus(display_, parent_, RevertToParent, CurrentTime);
}

} // namespace grelmond
