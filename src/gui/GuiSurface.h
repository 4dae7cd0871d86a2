#pragma once

// What a platform window hands to a DrawContext to draw on: a cairo surface on
// Linux, a GDI device context on Windows (gui/win32/GdiSurface.h).
#ifdef _WIN32
namespace grelmond {
struct GdiSurface;
using GuiSurface = GdiSurface;
} // namespace grelmond
#else
#include <cairo.h>
namespace grelmond {
using GuiSurface = cairo_surface_t;
} // namespace grelmond
#endif
