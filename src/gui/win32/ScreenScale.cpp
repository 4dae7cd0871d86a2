// The Windows side: the DPI of the monitor the host's window is on.
#include "gui/ScreenScale.h"

#include <windows.h>

namespace grelmond {

double ScreenScale::of(void* parentWindow)
{
    // GetDpiForWindow exists from Windows 10 1607; older systems have one DPI for all.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr && parentWindow != nullptr)
        if (const UINT dpi = dpiForWindow(static_cast<HWND>(parentWindow)))
            return fromDpi(double(dpi));
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return fromDpi(double(dpi));
}

} // namespace grelmond
