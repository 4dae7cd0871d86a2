#pragma once

namespace grelmond {

// The scale the screen asks for, when neither the host nor the user chose one:
// GDK_SCALE or the X resource Xft.dpi on X11, the window's DPI on Windows.
// Between 1 and 2, in quarter steps.
class ScreenScale {
public:
    // parentWindow: the host's window the editor opens in (may be null).
    static double of(void* parentWindow);

    // From a GDK_SCALE value and the X resource text (either may be null).
    static double fromSettings(const char* gdkScale, const char* resources);
    // From dots per inch, 96 being 1.
    static double fromDpi(double dpi);
};

} // namespace grelmond
