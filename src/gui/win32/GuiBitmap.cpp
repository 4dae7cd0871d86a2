#include "gui/GuiBitmap.h"

#include "gui/DrawContext.h"
#include "gui/GuiColors.h"
#include "gui/win32/GdiSurface.h"
#include "platform/win32/ModuleHandle.h"

#include <algorithm>
#include <cstring>
#include <cstdlib>

namespace grelmond {

namespace {

constexpr int kMaxSide = 16384;

uint32_t readU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

// An uncompressed 24-bit BMP file as a DIB section; null for anything else or anything cut short.
HBITMAP bitmapFromBmpFile(const uint8_t* data, size_t size)
{
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M')
        return nullptr;
    const uint32_t pixelOffset = readU32(data + 10);
    if (readU32(data + 14) < 40)
        return nullptr;
    const auto width = static_cast<int32_t>(readU32(data + 18));
    const auto height = static_cast<int32_t>(readU32(data + 22));
    if (width <= 0 || width > kMaxSide || height == 0 || std::abs(height) > kMaxSide)
        return nullptr;
    if (readU16(data + 26) != 1 || readU16(data + 28) != 24 || readU32(data + 30) != 0)
        return nullptr;
    const size_t rowBytes = (size_t(width) * 3 + 3) & ~size_t(3);
    const size_t pixelBytes = rowBytes * size_t(std::abs(height));
    if (pixelOffset > size || size - pixelOffset < pixelBytes)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap)
        std::memcpy(bits, data + pixelOffset, pixelBytes);
    return bitmap;
}

HDC targetDc(DrawContext& context) { return context.surface() ? context.surface()->dc : nullptr; }

// The part of rect that the picture covers when its origin lands srcOffset before rect's corner.
bool coveredPart(const GuiRect& rect, GuiPoint srcOffset, int width, int height, GuiRect& part, GuiPoint& from)
{
    const int left = std::max(rect.left, rect.left - srcOffset.x);
    const int top = std::max(rect.top, rect.top - srcOffset.y);
    const int right = std::min(rect.right, rect.left - srcOffset.x + width);
    const int bottom = std::min(rect.bottom, rect.top - srcOffset.y + height);
    if (right <= left || bottom <= top)
        return false;
    part = {left, top, right, bottom};
    from = {srcOffset.x + (left - rect.left), srcOffset.y + (top - rect.top)};
    return true;
}

} // namespace

GuiBitmap::GuiBitmap(int resourceId) : resourceId_(resourceId)
{
    image_ = LoadBitmapA(platform::moduleHandle(), MAKEINTRESOURCEA(resourceId));
    BITMAP info{};
    if (image_ && GetObjectA(static_cast<HBITMAP>(image_), sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight;
    }
}

GuiBitmap::GuiBitmap(const uint8_t* bmp, size_t size) : resourceId_(-1) { load(bmp, size); }

GuiBitmap::~GuiBitmap()
{
    if (image_)
        DeleteObject(static_cast<HBITMAP>(image_));
    if (mask_)
        DeleteObject(static_cast<HBITMAP>(mask_));
}

void GuiBitmap::load(const uint8_t* bmp, size_t size)
{
    image_ = bitmapFromBmpFile(bmp, size);
    BITMAP info{};
    if (image_ && GetObjectA(static_cast<HBITMAP>(image_), sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight;
    }
}

void GuiBitmap::release()
{
    if (--refCount_ <= 0)
        delete this;
}

void GuiBitmap::draw(DrawContext& context, const GuiRect& rect, GuiPoint srcOffset)
{
    HDC dest = targetDc(context);
    GuiRect part;
    GuiPoint from;
    if (!image_ || !dest || !coveredPart(rect, srcOffset, width_, height_, part, from))
        return;
    const GuiPoint o = context.offset();
    HDC source = CreateCompatibleDC(dest);
    HGDIOBJ old = SelectObject(source, static_cast<HBITMAP>(image_));
    BitBlt(dest, part.left + o.x, part.top + o.y, part.width(), part.height(), source, from.x, from.y, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void* GuiBitmap::mask()
{
    if (mask_ || !image_)
        return mask_;
    // Copying colour into a one-bit bitmap sets the pixels of the background colour.
    HDC source = CreateCompatibleDC(nullptr);
    HDC target = CreateCompatibleDC(nullptr);
    HBITMAP bits = CreateBitmap(width_, height_, 1, 1, nullptr);
    HGDIOBJ oldSource = SelectObject(source, static_cast<HBITMAP>(image_));
    HGDIOBJ oldTarget = SelectObject(target, bits);
    SetBkColor(source, RGB(kColorTransparentKey.red, kColorTransparentKey.green, kColorTransparentKey.blue));
    BitBlt(target, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    mask_ = bits;
    return mask_;
}

void GuiBitmap::drawTransparent(DrawContext& context, const GuiRect& rect, GuiPoint srcOffset)
{
    HDC dest = targetDc(context);
    GuiRect part;
    GuiPoint from;
    if (!image_ || !dest || !mask() || !coveredPart(rect, srcOffset, width_, height_, part, from))
        return;
    const GuiPoint o = context.offset();
    const int w = part.width(), h = part.height();
    const int x = part.left + o.x, y = part.top + o.y;

    GdiSurface* scratch = GdiSurface::createBuffer(w, h, false);
    if (!scratch)
        return;
    HDC picture = CreateCompatibleDC(dest);
    HDC maskDc = CreateCompatibleDC(dest);
    HGDIOBJ oldPicture = SelectObject(picture, static_cast<HBITMAP>(image_));
    HGDIOBJ oldMask = SelectObject(maskDc, static_cast<HBITMAP>(mask_));
    // One-bit sources expand to white where set (key pixels), black elsewhere.
    SetBkColor(scratch->dc, RGB(255, 255, 255));
    SetTextColor(scratch->dc, RGB(0, 0, 0));
    BitBlt(scratch->dc, 0, 0, w, h, dest, x, y, SRCCOPY);               // what lies beneath
    BitBlt(scratch->dc, 0, 0, w, h, maskDc, from.x, from.y, SRCAND);    // kept only under key pixels
    GdiSurface* cut = GdiSurface::createBuffer(w, h, false);
    if (cut) {
        SetBkColor(cut->dc, RGB(255, 255, 255));
        SetTextColor(cut->dc, RGB(0, 0, 0));
        BitBlt(cut->dc, 0, 0, w, h, picture, from.x, from.y, SRCCOPY);
        BitBlt(cut->dc, 0, 0, w, h, maskDc, from.x, from.y, 0x00220326); // picture AND NOT mask
        BitBlt(scratch->dc, 0, 0, w, h, cut->dc, 0, 0, SRCPAINT);
        GdiSurface::destroy(cut);
    }
    BitBlt(dest, x, y, w, h, scratch->dc, 0, 0, SRCCOPY);
    SelectObject(picture, oldPicture);
    SelectObject(maskDc, oldMask);
    DeleteDC(picture);
    DeleteDC(maskDc);
    GdiSurface::destroy(scratch);
}

} // namespace grelmond
