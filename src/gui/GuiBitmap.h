#pragma once

#include "gui/GuiSurface.h"
#include "gui/GuiTypes.h"

#include <cstddef>
#include <cstdint>

namespace grelmond {

class DrawContext;

// A picture from the library's embedded BMP resources, shared by reference count:
// the creator holds the first reference, release() frees it at zero.
// A bitmap that failed to load is 0 x 0 and draws nothing. UI thread only.
class GuiBitmap {
public:
    explicit GuiBitmap(int resourceId);
    // From the bytes of a BMP file; resource id -1.
    GuiBitmap(const uint8_t* bmp, size_t size);
    GuiBitmap(const GuiBitmap&) = delete;
    GuiBitmap& operator=(const GuiBitmap&) = delete;

    void retain() { ++refCount_; }
    void release();
    int refCount() const { return refCount_; }

    int resourceId() const { return resourceId_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool isLoaded() const { return image_ != nullptr; }

    // Copies the rectangle's size from srcOffset of the picture into rect.
    void draw(DrawContext& context, const GuiRect& rect, GuiPoint srcOffset = {});
    // The same, but pure white pixels leave what lies beneath.
    void drawTransparent(DrawContext& context, const GuiRect& rect, GuiPoint srcOffset = {});

private:
    ~GuiBitmap();
    void load(const uint8_t* bmp, size_t size);
#ifdef _WIN32
    void* mask(); // one bit per pixel, set where the picture has the transparent key colour
#else
    void paint(DrawContext& context, cairo_surface_t* source, const GuiRect& rect, GuiPoint srcOffset,
               cairo_operator_t op);
    cairo_surface_t* keyedImage();
#endif

    int resourceId_;
    int refCount_ = 1;
    int width_ = 0;
    int height_ = 0;
#ifdef _WIN32
    void* image_ = nullptr; // HBITMAP
    void* mask_ = nullptr;  // HBITMAP, built on first transparent draw
#else
    cairo_surface_t* image_ = nullptr;
    cairo_surface_t* keyed_ = nullptr; // built on first transparent draw
#endif
};

// Points held at bitmap (either may be null). The new one is retained before the
// old one is released, so holding the same bitmap again cannot free it.
inline void holdBitmap(GuiBitmap*& held, GuiBitmap* bitmap)
{
    if (bitmap)
        bitmap->retain();
    if (held)
        held->release();
    held = bitmap;
}

} // namespace grelmond
