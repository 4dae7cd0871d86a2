#include "gui/OffscreenContext.h"

#include "gui/win32/GdiSurface.h"

#include <algorithm>

namespace grelmond {

OffscreenContext::OffscreenContext(GuiWindow* window, GuiFrame* frame, int width, int height, GuiColor background)
    : DrawContext(nullptr, window, frame), width_(std::max(0, width)), height_(std::max(0, height))
{
    // The buffer is this context's own; DrawContext frees it at the end of the pass.
    attach(GdiSurface::createBuffer(width_, height_, true));
    setClipRect({0, 0, width_, height_});
    if (surface()) {
        HBRUSH brush = CreateSolidBrush(RGB(background.red, background.green, background.blue));
        const RECT all{0, 0, std::max(1, width_), std::max(1, height_)};
        FillRect(surface()->dc, &all, brush);
        DeleteObject(brush);
    }
    setFillColor(background);
    setFrameColor(background);
}

void OffscreenContext::copyTo(DrawContext& dest, const GuiRect& destRect, GuiPoint srcOffset)
{
    if (!surface() || !dest.surface())
        return;
    const GuiPoint o = dest.offset();
    BitBlt(dest.surface()->dc, destRect.left + o.x, destRect.top + o.y, destRect.width(), destRect.height(),
           surface()->dc, srcOffset.x, srcOffset.y, SRCCOPY);
}

} // namespace grelmond
