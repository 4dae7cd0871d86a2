#include "gui/GuiBitmap.h"

#include "gui/BitmapResources.h"
#include "gui/BmpDecoder.h"
#include "gui/DrawContext.h"
#include "gui/GuiColors.h"

namespace grelmond {

GuiBitmap::GuiBitmap(int resourceId) : resourceId_(resourceId)
{
    const BitmapResource res = findBitmapResource(resourceId);
    load(res.data, res.size);
}

GuiBitmap::GuiBitmap(const uint8_t* bmp, size_t size) : resourceId_(-1) { load(bmp, size); }

GuiBitmap::~GuiBitmap()
{
    if (image_)
        cairo_surface_destroy(image_);
    if (keyed_)
        cairo_surface_destroy(keyed_);
}

void GuiBitmap::load(const uint8_t* bmp, size_t size)
{
    image_ = decodeBmp24(bmp, size);
    if (image_) {
        width_ = cairo_image_surface_get_width(image_);
        height_ = cairo_image_surface_get_height(image_);
    }
}

void GuiBitmap::release()
{
    if (--refCount_ <= 0)
        delete this;
}

void GuiBitmap::paint(DrawContext& context, cairo_surface_t* source, const GuiRect& rect, GuiPoint srcOffset,
                      cairo_operator_t op)
{
    if (!source || rect.width() <= 0 || rect.height() <= 0)
        return;
    cairo_t* cr = context.cairo();
    const GuiPoint o = context.offset();
    cairo_save(cr);
    cairo_set_operator(cr, op);
    cairo_rectangle(cr, rect.left + o.x, rect.top + o.y, rect.width(), rect.height());
    cairo_clip(cr);
    cairo_set_source_surface(cr, source, rect.left + o.x - srcOffset.x, rect.top + o.y - srcOffset.y);
    // Outside the picture nothing is drawn, as with a block copy from a smaller bitmap.
    cairo_rectangle(cr, rect.left + o.x - srcOffset.x, rect.top + o.y - srcOffset.y, width_, height_);
    cairo_fill(cr);
    cairo_restore(cr);
}

void GuiBitmap::draw(DrawContext& context, const GuiRect& rect, GuiPoint srcOffset)
{
    paint(context, image_, rect, srcOffset, CAIRO_OPERATOR_SOURCE);
}

void GuiBitmap::drawTransparent(DrawContext& context, const GuiRect& rect, GuiPoint srcOffset)
{
    paint(context, keyedImage(), rect, srcOffset, CAIRO_OPERATOR_OVER);
}

cairo_surface_t* GuiBitmap::keyedImage()
{
    if (keyed_ || !image_)
        return keyed_;
    keyed_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
    cairo_surface_flush(image_);
    cairo_surface_flush(keyed_);
    const uint8_t* src = cairo_image_surface_get_data(image_);
    uint8_t* dst = cairo_image_surface_get_data(keyed_);
    const int srcStride = cairo_image_surface_get_stride(image_);
    const int dstStride = cairo_image_surface_get_stride(keyed_);
    const uint32_t key = (uint32_t(kColorTransparentKey.red) << 16) | (uint32_t(kColorTransparentKey.green) << 8) |
                         kColorTransparentKey.blue;
    for (int y = 0; y < height_; ++y) {
        auto* s = reinterpret_cast<const uint32_t*>(src + size_t(y) * srcStride);
        auto* d = reinterpret_cast<uint32_t*>(dst + size_t(y) * dstStride);
        for (int x = 0; x < width_; ++x) {
            const uint32_t rgb = s[x] & 0x00FFFFFFu;
            d[x] = rgb == key ? 0u : (0xFF000000u | rgb);
        }
    }
    cairo_surface_mark_dirty(keyed_);
    return keyed_;
}

} // namespace grelmond
