#include "gui/OffscreenContext.h"

#include <algorithm>

namespace grelmond {

namespace {
cairo_surface_t* makeBuffer(int width, int height)
{
    return cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, width), std::max(1, height));
}
} // namespace

OffscreenContext::OffscreenContext(GuiWindow* window, GuiFrame* frame, int width, int height,
                                   GuiColor background)
    : DrawContext(nullptr, window, frame), width_(std::max(0, width)), height_(std::max(0, height))
{
    cairo_surface_t* buffer = makeBuffer(width_, height_);
    attach(buffer);
    cairo_surface_destroy(buffer);
    setClipRect({0, 0, width_, height_});
    cairo_set_source_rgb(cairo(), background.red / 255.0, background.green / 255.0, background.blue / 255.0);
    cairo_paint(cairo());
    setFillColor(background);
    setFrameColor(background);
}

void OffscreenContext::copyTo(DrawContext& dest, const GuiRect& destRect, GuiPoint srcOffset)
{
    cairo_surface_flush(surface());
    cairo_t* cr = dest.cairo();
    const GuiPoint o = dest.offset();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface(), destRect.left + o.x - srcOffset.x, destRect.top + o.y - srcOffset.y);
    cairo_rectangle(cr, destRect.left + o.x, destRect.top + o.y, destRect.width(), destRect.height());
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace grelmond
