#pragma once

#include <windows.h>

namespace grelmond {

// A device context to draw on and its size. A window's surface belongs to the
// window; a context-owned one (an offscreen buffer, a scrap pixel) is freed,
// memory DC and bitmap with it, by the DrawContext that drew on it last.
struct GdiSurface {
    HDC dc = nullptr;
    int width = 0;
    int height = 0;
    bool ownedByContext = false;
    HBITMAP bitmap = nullptr;    // the memory DC's bitmap, when owned
    HGDIOBJ oldBitmap = nullptr; // what the memory DC held before
    void* bits = nullptr;        // top-down 32-bit pixels of a DIB section, when there is one

    // A memory DC with a top-down 32-bit DIB section of width x height; null on failure.
    static GdiSurface* createBuffer(int width, int height, bool ownedByContext);
    static void destroy(GdiSurface* surface);
};

inline COLORREF toColorRef(unsigned char red, unsigned char green, unsigned char blue)
{
    return RGB(red, green, blue);
}

} // namespace grelmond
