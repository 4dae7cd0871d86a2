#pragma once

#include "gui/GuiTypes.h"

#include <string>

#include "gui/GuiSurface.h"

namespace grelmond {

// What a platform window reports to the frame it shows.
class GuiWindowEvents {
public:
    virtual ~GuiWindowEvents() = default;
    virtual void onPaint() = 0;
    // buttons: MouseBits of the press, the pressed button included.
    virtual void onMouseDown(GuiPoint where, int buttons) = 0;
    virtual void onWheelEvent(float distance) = 0;
    // The pointer moved over the window with no button held.
    virtual void onMouseMove(GuiPoint where) {}
    virtual void onKey(const GuiKeyEvent& key) = 0;
    virtual void onFocusLost() = 0;
    virtual void onWindowDestroyed() = 0;
};

// The platform side of a frame: a surface to draw on, the pointer state and
// the event queue. One backend draws into an image, the other into an X11 window.
class GuiWindow {
public:
    virtual ~GuiWindow() = default;

    // Null when there is nothing to draw on (the window is gone).
    virtual GuiSurface* surface() = 0;
    // Bits of MouseBits for the buttons and modifiers held now.
    virtual int mouseButtons() = 0;
    // Pointer position relative to the window's top-left corner.
    virtual GuiPoint mouseLocation() = 0;
    // True when a second left press follows within the double-click time; that press is consumed.
    virtual bool waitDoubleClick() = 0;
    // Handle whatever events are queued, never blocking.
    virtual void processEvents() = 0;
    // Make drawn pixels visible.
    virtual void flush() = 0;
    // Give the window the keyboard focus, for text editing.
    virtual void takeKeyboardFocus() = 0;
    // Hand the keyboard back to the host once text editing is over.
    virtual void releaseKeyboardFocus() = 0;
    virtual bool isOpen() const = 0;
    // Gives the same window a new size in place (hosts track the window they
    // embedded); what was drawn is lost and must be drawn again. False when
    // the window keeps its old size.
    virtual bool resize(int width, int height) { return false; }

    // A native single-line text field over rect (window coordinates) holding text in
    // the font (its face from fontId, fontHeight pixels high) and colours given, with the keyboard focus; false where the platform
    // has none and the toolkit draws its own. Enter in it arrives as an Enter key.
    virtual bool beginNativeEdit(const GuiRect& rect, const std::string& text, int fontId, int fontHeight,
                                 GuiColor fontColor, GuiColor backColor)
    {
        return false;
    }
    // Closes that field and returns its text.
    virtual std::string endNativeEdit() { return {}; }

    void setEvents(GuiWindowEvents* events) { events_ = events; }

protected:
    GuiWindowEvents* events_ = nullptr;
};

} // namespace grelmond
