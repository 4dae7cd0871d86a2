#include "gui/win32/GdiSurface.h"

#include <algorithm>

namespace grelmond {

GdiSurface* GdiSurface::createBuffer(int width, int height, bool ownedByContext)
{
    width = std::max(1, width);
    height = std::max(1, height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(bitmap);
        return nullptr;
    }
    auto* surface = new GdiSurface;
    surface->dc = dc;
    surface->width = width;
    surface->height = height;
    surface->ownedByContext = ownedByContext;
    surface->bitmap = bitmap;
    surface->oldBitmap = SelectObject(dc, bitmap);
    surface->bits = bits;
    return surface;
}

void GdiSurface::destroy(GdiSurface* surface)
{
    if (!surface)
        return;
    if (surface->bitmap) {
        SelectObject(surface->dc, surface->oldBitmap);
        DeleteObject(surface->bitmap);
        DeleteDC(surface->dc);
    }
    delete surface;
}

} // namespace grelmond
