#pragma once

#include "gui/GuiWindow.h"
#include "gui/x11/X11Backbuffer.h"

#include <X11/Xlib.h>
#include <memory>

namespace grelmond {

// A child of the host's window on a Display connection of its own. cairo
// draws into a backbuffer; each flush puts what changed on the window. Events
// are only read when processEvents runs, which never blocks. X errors on this
// connection are swallowed so that a window the host destroyed first cannot
// take the host down. UI thread only.
class X11Window : public GuiWindow {
public:
    // Null when there is no display, the parent window does not exist or its
    // visual is not a true-colour one.
    static std::unique_ptr<X11Window> create(unsigned long parent, int width, int height);
    ~X11Window() override;

    cairo_surface_t* surface() override { return closed_ ? nullptr : pixels_->surface(); }
    int mouseButtons() override;
    GuiPoint mouseLocation() override;
    bool waitDoubleClick() override;
    void processEvents() override;
    void flush() override;
    void takeKeyboardFocus() override;
    void releaseKeyboardFocus() override;
    bool isOpen() const override { return !closed_; }
    // Resizes this same window and its backbuffer, and updates its size hints
    // (base and maximum: the editor has one size per zoom), which embedding
    // hosts read to size their own window.
    bool resize(int width, int height) override;

    // X errors raised on any of the toolkit's connections so far in this process.
    static int errorCount();

    Display* display() const { return display_; }
    Window window() const { return window_; }

private:
    X11Window(Display* display, Window parent, Window window, const XWindowAttributes& own,
              std::unique_ptr<X11Backbuffer> pixels);
    void dispatch(XEvent& event);
    void dispatchKey(XKeyEvent& event);

    Display* display_;
    Window parent_;
    Window window_;
    Visual* visual_;
    int depth_;
    std::unique_ptr<X11Backbuffer> pixels_;
    GC gc_;
    bool closed_ = false;
};

} // namespace grelmond
