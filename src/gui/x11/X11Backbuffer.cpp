#include "gui/x11/X11Backbuffer.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <bit>
#include <cstring>
#include <sys/mman.h>

namespace grelmond {

namespace {

constexpr int kNativeByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

} // namespace

unsigned long X11Backbuffer::Channel::place(uint32_t component) const
{
    const unsigned long top = (1ul << bits) - 1;
    return ((component * top + 127) / 255) << shift;
}

std::unique_ptr<X11Backbuffer> X11Backbuffer::create(Display* display, Visual* visual, int depth, int width,
                                                     int height)
{
    if (!display || !visual || (visual->c_class != TrueColor && visual->c_class != DirectColor) || depth <= 0 ||
        depth > 32 || width <= 0 || height <= 0 || !visual->red_mask || !visual->green_mask || !visual->blue_mask)
        return nullptr;
    XImage* image = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(width),
                                 unsigned(height), 32, 0);
    if (!image)
        return nullptr;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
    const size_t drawn = size_t(stride) * size_t(height);
    const size_t shown = size_t(image->bytes_per_line) * size_t(height);
    const size_t size = drawn + shown + size_t(width) * size_t(height) * sizeof(uint32_t);
    void* memory = stride > 0 ? mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                              : MAP_FAILED;
    // Pixels are written in this machine's order; Xlib swaps them for a server that differs.
    image->byte_order = kNativeByteOrder;
    if (memory == MAP_FAILED || !XInitImage(image)) {
        if (memory != MAP_FAILED)
            munmap(memory, size);
        XDestroyImage(image);
        return nullptr;
    }
    auto* bytes = static_cast<unsigned char*>(memory);
    image->data = reinterpret_cast<char*>(bytes + drawn);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(bytes, CAIRO_FORMAT_RGB24, width, height, stride);
    auto* sent = reinterpret_cast<uint32_t*>(bytes + drawn + shown);
    std::unique_ptr<X11Backbuffer> pixels(new X11Backbuffer(memory, size, image, surface, sent, width, height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    return pixels;
}

X11Backbuffer::X11Backbuffer(void* memory, size_t memorySize, XImage* image, cairo_surface_t* surface,
                             uint32_t* sent, int width, int height)
    : memory_(memory), memorySize_(memorySize), image_(image), surface_(surface), sent_(sent), width_(width),
      height_(height)
{
    auto channel = [](unsigned long mask) {
        return Channel{std::countr_zero(mask), std::popcount(mask)};
    };
    red_ = channel(image->red_mask);
    green_ = channel(image->green_mask);
    blue_ = channel(image->blue_mask);
    const unsigned long depthBits = image->depth >= 32 ? 0xfffffffful : (1ul << image->depth) - 1;
    opaque_ = depthBits & ~(image->red_mask | image->green_mask | image->blue_mask);
    direct_ = image->bits_per_pixel == 32 && image->red_mask == 0xff0000 && image->green_mask == 0xff00 &&
              image->blue_mask == 0xff;
}

X11Backbuffer::~X11Backbuffer()
{
    // Finished, a surface someone still holds draws nothing into the unmapped pixels.
    cairo_surface_finish(surface_);
    cairo_surface_destroy(surface_);
    image_->data = nullptr;
    XDestroyImage(image_);
    munmap(memory_, memorySize_);
}

void X11Backbuffer::put(Display* display, Drawable drawable, GC gc)
{
    cairo_surface_flush(surface_);
    const auto* pixels = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface_));
    const int stride = cairo_image_surface_get_stride(surface_) / 4;
    const Area area = putAll_ ? Area{0, 0, width_, height_} : changedArea(pixels, stride);
    putAll_ = false;
    if (area.empty())
        return;
    convert(pixels, stride, area);
    XPutImage(display, drawable, gc, image_, area.left, area.top, area.left, area.top,
              unsigned(area.right - area.left), unsigned(area.bottom - area.top));
    for (int y = area.top; y < area.bottom; ++y) {
        const uint32_t* row = pixels + size_t(y) * size_t(stride);
        std::copy(row + area.left, row + area.right, sent_ + size_t(y) * size_t(width_) + area.left);
    }
}

// The smallest rectangle holding every pixel that differs from what was sent.
X11Backbuffer::Area X11Backbuffer::changedArea(const uint32_t* pixels, int stride) const
{
    Area area{width_, -1, 0, -1};
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = pixels + size_t(y) * size_t(stride);
        const uint32_t* old = sent_ + size_t(y) * size_t(width_);
        if (std::memcmp(row, old, size_t(width_) * sizeof(uint32_t)) == 0)
            continue;
        if (area.top < 0)
            area.top = y;
        area.bottom = y + 1;
        int left = 0;
        while (row[left] == old[left])
            ++left;
        int right = width_;
        while (row[right - 1] == old[right - 1])
            --right;
        area.left = std::min(area.left, left);
        area.right = std::max(area.right, right);
    }
    return area.top < 0 ? Area{} : area;
}

void X11Backbuffer::convert(const uint32_t* pixels, int stride, const Area& area)
{
    for (int y = area.top; y < area.bottom; ++y) {
        const uint32_t* row = pixels + size_t(y) * size_t(stride);
        if (direct_) {
            auto* out = reinterpret_cast<uint32_t*>(image_->data + size_t(y) * size_t(image_->bytes_per_line));
            for (int x = area.left; x < area.right; ++x)
                out[x] = (row[x] & 0xffffffu) | uint32_t(opaque_);
        } else {
            for (int x = area.left; x < area.right; ++x)
                XPutPixel(image_, x, y, pixelOf(row[x]));
        }
    }
}

unsigned long X11Backbuffer::pixelOf(uint32_t rgb) const
{
    return red_.place((rgb >> 16) & 0xff) | green_.place((rgb >> 8) & 0xff) | blue_.place(rgb & 0xff) | opaque_;
}

} // namespace grelmond
