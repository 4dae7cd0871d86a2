// The X11 side: the settings desktops publish for the scale of their windows.
#include "gui/ScreenScale.h"

#include <X11/Xlib.h>
#include <cstdlib>

namespace grelmond {

double ScreenScale::of(void*)
{
    const char* gdk = std::getenv("GDK_SCALE");
    if (gdk != nullptr && *gdk != '\0')
        return fromSettings(gdk, nullptr);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1.0;
    const double scale = fromSettings(nullptr, XResourceManagerString(display));
    XCloseDisplay(display);
    return scale;
}

} // namespace grelmond
