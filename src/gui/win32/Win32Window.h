#pragma once

#include "gui/GuiWindow.h"
#include "gui/win32/GdiSurface.h"

#include <memory>

namespace grelmond {

// A child window of the host's window, of the toolkit's own window class, drawn
// with GDI on its own device context. Mouse and keyboard state come from
// GetAsyncKeyState and the cursor position. UI thread only.
class Win32Window : public GuiWindow {
public:
    // Null when the parent is not a window or the window cannot be made.
    static std::unique_ptr<Win32Window> create(void* parent, int width, int height);
    ~Win32Window() override;

    GuiSurface* surface() override { return closed_ ? nullptr : &surface_; }
    int mouseButtons() override;
    GuiPoint mouseLocation() override;
    bool waitDoubleClick() override;
    void processEvents() override;
    void flush() override;
    void takeKeyboardFocus() override;
    void releaseKeyboardFocus() override;
    bool isOpen() const override { return !closed_; }
    bool resize(int width, int height) override;
    // The native EDIT control; Enter and a lost focus come back as the frame's key and focus events.
    bool beginNativeEdit(const GuiRect& rect, const std::string& text, int fontId, int fontHeight,
                         GuiColor fontColor, GuiColor backColor) override;
    std::string endNativeEdit() override;
    HWND editControl() const { return edit_; }

    HWND handle() const { return window_; }

    // How many frames hold the window class now, and its name ("Plugin" and the module handle).
    static int classUsers();
    static const char* className();

private:
    Win32Window(HWND parent, HWND window, int width, int height);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onChar(WPARAM character);
    void onKeyDown(WPARAM key);
    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

    HWND parent_;
    HWND window_;
    GdiSurface surface_;
    bool closed_ = false;
    HWND edit_ = nullptr;
    WNDPROC editDefault_ = nullptr;
    HFONT editFont_ = nullptr;
    HBRUSH editBrush_ = nullptr;
    COLORREF editText_ = 0;
    COLORREF editBack_ = 0;
};

} // namespace grelmond
