#pragma once

#include <X11/Xlib.h>
#include <cairo.h>
#include <cstdint>
#include <memory>
#include <cstddef>

namespace grelmond {

// The pixels of an X11 window, drawn by cairo into memory and put on the
// window with plain XPutImage requests. Only the part that changed since the
// last put is sent. Nothing of cairo is tied to the connection, so closing it
// leaves nothing of ours behind in cairo's per-connection records. The pixel
// memory is mapped for each window and unmapped with it, so an editor opened
// and closed again leaves the process's size where it was.
class X11Backbuffer {
public:
    // Null unless the visual is a true- or direct-colour one.
    static std::unique_ptr<X11Backbuffer> create(Display* display, Visual* visual, int depth, int width, int height);
    ~X11Backbuffer();
    X11Backbuffer(const X11Backbuffer&) = delete;
    X11Backbuffer& operator=(const X11Backbuffer&) = delete;

    cairo_surface_t* surface() const { return surface_; }
    // Sends what changed since the last put, or everything after invalidate().
    void put(Display* display, Drawable drawable, GC gc);
    // The window lost its contents (exposure): the next put sends all of them.
    void invalidate() { putAll_ = true; }

private:
    struct Area {
        int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
        bool empty() const { return right <= left || bottom <= top; }
    };
    struct Channel {
        int shift = 0;
        int bits = 0;
        unsigned long place(uint32_t component) const;
    };

    X11Backbuffer(void* memory, size_t memorySize, XImage* image, cairo_surface_t* surface, uint32_t* sent,
                  int width, int height);
    Area changedArea(const uint32_t* pixels, int stride) const;
    void convert(const uint32_t* pixels, int stride, const Area& area);
    unsigned long pixelOf(uint32_t rgb) const;

    void* memory_; // cairo's pixels, the image's and sent_
    size_t memorySize_;
    XImage* image_;
    cairo_surface_t* surface_;
    uint32_t* sent_; // what the window shows, width_ pixels a row
    int width_;
    int height_;
    bool putAll_ = true;
    bool direct_ = false; // the image holds 32-bit pixels in cairo's own layout
    Channel red_, green_, blue_;
    unsigned long opaque_ = 0; // bits of the depth no colour channel uses (alpha), all set
};

} // namespace grelmond
