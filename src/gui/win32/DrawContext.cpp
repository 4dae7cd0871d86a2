#include "gui/DrawContext.h"

#include "gui/GuiColors.h"
#include "gui/GuiFonts.h"
#include "gui/GuiFrame.h"
#include "gui/GuiWindow.h"
#include "gui/win32/GdiSurface.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {

constexpr int kStackPoints = 30;

HDC dcOf(void* dc) { return static_cast<HDC>(dc); }

COLORREF colorRef(GuiColor c) { return RGB(c.red, c.green, c.blue); }

// Replaces what the DC holds with a new object of this pass, deleting the one it made before.
void swapObject(HDC dc, void*& held, HGDIOBJ made)
{
    if (!made)
        return; // a failed creation keeps the previous object
    SelectObject(dc, made);
    if (held)
        DeleteObject(static_cast<HGDIOBJ>(held));
    held = made;
}

POINT radialPoint(const GuiRect& r, GuiPoint off, double degrees)
{
    const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    const double rad = degrees * M_PI / 180.0;
    return {LONG(std::lround(cx + std::cos(rad) * r.width() + off.x)),
            LONG(std::lround(cy - std::sin(rad) * r.height() + off.y))};
}

} // namespace

std::string latin1ToUtf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char c : text) {
        if (c == 0)
            break;
        if (c < 0x20)
            c = ' ';
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

DrawContext::DrawContext(GuiSurface* surface, GuiWindow* window, GuiFrame* frame)
    : frame_(frame), window_(window), fontColor_(kColorWhite), frameColor_(kColorWhite), fillColor_(kColorBlack)
{
    clip_ = frame ? GuiRect{0, 0, frame->size().width(), frame->size().height()} : GuiRect{0, 0, 1000, 1000};
    attach(surface);
    setFont(0);
}

DrawContext::~DrawContext() { detach(); }

void DrawContext::detach()
{
    if (!dc_)
        return;
    HDC dc = dcOf(dc_);
    for (void* region : clipStack_)
        if (region)
            DeleteObject(static_cast<HGDIOBJ>(region));
    clipStack_.clear();
    RestoreDC(dc, savedState_);
    for (void** made : {&pen_, &brush_, &font_}) {
        if (*made)
            DeleteObject(static_cast<HGDIOBJ>(*made));
        *made = nullptr;
    }
    if (surface_ && surface_->ownedByContext)
        GdiSurface::destroy(surface_);
    surface_ = nullptr;
    dc_ = nullptr;
}

void DrawContext::attach(GuiSurface* surface)
{
    detach();
    // Without a surface draw into a scrap pixel, so callers need no checks.
    surface_ = surface ? surface : GdiSurface::createBuffer(1, 1, true);
    dc_ = surface_ ? surface_->dc : nullptr;
    if (!dc_)
        return;
    HDC dc = dcOf(dc_);
    savedState_ = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SetROP2(dc, R2_COPYPEN);
    drawMode_ = kDrawCopy;
    penWidth_ = 0;
    brushMade_ = false;
    if (font_)
        applyFont();
    GuiRect c = clip_;
    clip_ = {};
    setClipRect(c);
}

void DrawContext::applyPen()
{
    if (!dc_ || (penWidth_ == lineWidth_ && penStyle_ == lineStyle_ && penColor_.sameRgb(frameColor_)))
        return;
    LOGPEN pen{};
    pen.lopnStyle = lineStyle_ == kLineDotted ? PS_DOT : PS_SOLID;
    pen.lopnWidth.x = lineWidth_;
    pen.lopnColor = colorRef(frameColor_);
    swapObject(dcOf(dc_), pen_, CreatePenIndirect(&pen));
    penWidth_ = lineWidth_;
    penStyle_ = lineStyle_;
    penColor_ = frameColor_;
}

void DrawContext::applyBrush()
{
    if (!dc_ || (brushMade_ && brushColor_.sameRgb(fillColor_)))
        return;
    LOGBRUSH brush{};
    brush.lbStyle = BS_SOLID;
    brush.lbColor = colorRef(fillColor_);
    SetBkColor(dcOf(dc_), colorRef(fillColor_));
    swapObject(dcOf(dc_), brush_, CreateBrushIndirect(&brush));
    brushMade_ = true;
    brushColor_ = fillColor_;
}

void DrawContext::shapeTools()
{
    applyPen();
    applyBrush();
}

void DrawContext::setDrawMode(int mode)
{
    if (mode == drawMode_)
        return;
    drawMode_ = mode;
    int rop = R2_COPYPEN;
    if (mode == kDrawMerge)
        rop = R2_MERGEPEN;
    else if (mode == kDrawNotXor)
        rop = R2_NOTXORPEN;
    if (dc_)
        SetROP2(dcOf(dc_), rop);
}

void DrawContext::setClipRect(const GuiRect& r)
{
    if (r == clip_)
        return;
    clip_ = r;
    if (!dc_)
        return;
    HRGN region = CreateRectRgn(r.left + offset_.x, r.top + offset_.y, r.right + offset_.x, r.bottom + offset_.y);
    SelectClipRgn(dcOf(dc_), region);
    DeleteObject(region);
}

void DrawContext::pushClip(const GuiRect& r)
{
    if (!dc_)
        return;
    HDC dc = dcOf(dc_);
    HRGN saved = CreateRectRgn(0, 0, 0, 0);
    if (GetClipRgn(dc, saved) != 1) {
        DeleteObject(saved);
        saved = nullptr;
    }
    clipStack_.push_back(saved);
    IntersectClipRect(dc, r.left + offset_.x, r.top + offset_.y, r.right + offset_.x, r.bottom + offset_.y);
}

void DrawContext::popClip()
{
    if (!dc_ || clipStack_.empty())
        return;
    auto* saved = static_cast<HRGN>(clipStack_.back());
    clipStack_.pop_back();
    SelectClipRgn(dcOf(dc_), saved);
    if (saved)
        DeleteObject(saved);
}

void DrawContext::moveTo(GuiPoint p) { penPosition_ = p; }

void DrawContext::lineTo(GuiPoint p)
{
    strokeSegment(penPosition_, p);
    penPosition_ = p;
}

// A segment covers its start pixel but not its end pixel, as LineTo draws it.
void DrawContext::strokeSegment(GuiPoint from, GuiPoint to)
{
    if (!dc_)
        return;
    applyPen();
    HDC dc = dcOf(dc_);
    MoveToEx(dc, from.x + offset_.x, from.y + offset_.y, nullptr);
    LineTo(dc, to.x + offset_.x, to.y + offset_.y);
}

void DrawContext::polyLine(const GuiPoint* points, int count)
{
    if (!points || count < 2)
        return;
    moveTo(points[0]);
    for (int i = 1; i < count; ++i)
        lineTo(points[i]);
}

void DrawContext::polygon(const GuiPoint* points, int count)
{
    if (!points || count < 3 || !dc_)
        return;
    POINT onStack[kStackPoints];
    std::vector<POINT> onHeap;
    POINT* gdiPoints = onStack;
    if (count > kStackPoints) {
        onHeap.resize(size_t(count));
        gdiPoints = onHeap.data();
    }
    for (int i = 0; i < count; ++i)
        gdiPoints[i] = {points[i].x + offset_.x, points[i].y + offset_.y};
    applyBrush();
    HDC dc = dcOf(dc_);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, gdiPoints, count);
    SelectObject(dc, previous);
}

void DrawContext::fillRect(const GuiRect& r)
{
    if (r.width() <= 1 || r.height() <= 1 || !dc_)
        return;
    applyBrush();
    // FillRect would ignore the draw mode; a pattern block transfer mixes the
    // brush the way the pen mixes (copy P, merge P|D, not-XOR ~(P^D)).
    DWORD rop = PATCOPY;
    if (drawMode_ == kDrawMerge)
        rop = 0x00FA0089;
    else if (drawMode_ == kDrawNotXor)
        rop = 0x00A50065;
    HDC dc = dcOf(dc_);
    HGDIOBJ previous = SelectObject(dc, static_cast<HBRUSH>(brush_));
    PatBlt(dc, r.left + 1 + offset_.x, r.top + 1 + offset_.y, r.width() - 1, r.height() - 1, rop);
    SelectObject(dc, previous);
}

void DrawContext::drawRect(const GuiRect& r)
{
    moveTo({r.left, r.top});
    lineTo({r.right, r.top});
    lineTo({r.right, r.bottom});
    lineTo({r.left, r.bottom});
    lineTo({r.left, r.top});
}

void DrawContext::ellipse(const GuiRect& r)
{
    if (!dc_)
        return;
    shapeTools();
    Ellipse(dcOf(dc_), r.left + offset_.x, r.top + offset_.y, r.right + offset_.x, r.bottom + offset_.y);
}

void DrawContext::arc(const GuiRect& r, double startDegrees, double endDegrees)
{
    if (!dc_)
        return;
    applyPen();
    const POINT a = radialPoint(r, offset_, startDegrees), b = radialPoint(r, offset_, endDegrees);
    Arc(dcOf(dc_), r.left + offset_.x, r.top + offset_.y, r.right + offset_.x, r.bottom + offset_.y, a.x, a.y, b.x,
        b.y);
}

void DrawContext::pie(const GuiRect& r, double startDegrees, double endDegrees)
{
    if (!dc_)
        return;
    shapeTools();
    const POINT a = radialPoint(r, offset_, startDegrees), b = radialPoint(r, offset_, endDegrees);
    Pie(dcOf(dc_), r.left + offset_.x, r.top + offset_.y, r.right + offset_.x, r.bottom + offset_.y, a.x, a.y, b.x,
        b.y);
}

void DrawContext::setPixel(GuiPoint p, GuiColor c)
{
    if (dc_)
        SetPixel(dcOf(dc_), p.x + offset_.x, p.y + offset_.y, colorRef(c));
}

void DrawContext::setFont(int id, int height, int face)
{
    const GuiFontSpec& entry = fontSpec(id);
    fontId_ = (id < 0 || id >= kFontCount) ? 0 : id;
    // The font table's heights are for the 1x picture; the frame's scale applies.
    const double scale = frame_ != nullptr ? frame_->scale() : 1.0;
    fontHeight_ = height > 0 ? height : int(std::lround(entry.height * scale));
    fontFace_ = face;
    applyFont();
}

void DrawContext::applyFont()
{
    if (!dc_)
        return;
    const GuiFontSpec& entry = fontSpec(fontId_);
    LOGFONTA font{};
    font.lfHeight = -fontHeight_; // the character height, not the cell's
    font.lfWeight = (entry.alwaysBold || (fontFace_ & kFaceBold)) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (fontFace_ & kFaceItalic) ? TRUE : FALSE;
    font.lfUnderline = (fontFace_ & kFaceUnderline) ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | (entry.decorative ? FF_DECORATIVE : FF_SWISS);
    lstrcpynA(font.lfFaceName, entry.face, LF_FACESIZE);
    swapObject(dcOf(dc_), font_, CreateFontIndirectA(&font));
}

int DrawContext::getStringWidth(const std::string& text)
{
    if (!dc_)
        return 0;
    SIZE size{};
    const std::string shown = text.substr(0, text.find('\0'));
    GetTextExtentPoint32A(dcOf(dc_), shown.c_str(), int(shown.size()), &size);
    return size.cx;
}

void DrawContext::drawString(const std::string& text, const GuiRect& r, bool opaque, int align)
{
    if (!dc_)
        return;
    HDC dc = dcOf(dc_);
    RECT area{r.left + offset_.x, r.top + offset_.y, r.right + offset_.x, r.bottom + offset_.y};
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;
    if (align == 1) {
        format |= DT_CENTER;
    } else if (align == 2) {
        format |= DT_RIGHT;
    } else {
        format |= DT_LEFT;
        area.left += 1;
    }
    SetTextColor(dc, colorRef(fontColor_));
    if (opaque) {
        SetBkColor(dc, colorRef(fillColor_));
        SetBkMode(dc, OPAQUE);
    }
    const std::string shown = text.substr(0, text.find('\0'));
    DrawTextA(dc, shown.c_str(), int(shown.size()), &area, format);
    if (opaque)
        SetBkMode(dc, TRANSPARENT);
}

int DrawContext::getMouseButtons() { return window_ ? window_->mouseButtons() : 0; }

int DrawContext::pressButtons() { return pressButtons_ >= 0 ? pressButtons_ : getMouseButtons(); }

GuiPoint DrawContext::getMouseLocation() { return window_ ? window_->mouseLocation() : GuiPoint{}; }

bool DrawContext::waitDoubleClick() { return window_ ? window_->waitDoubleClick() : false; }

} // namespace grelmond
