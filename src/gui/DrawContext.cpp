#include "gui/DrawContext.h"

#include "gui/GuiColors.h"
#include "gui/GuiFonts.h"
#include "gui/GuiFrame.h"
#include "gui/GuiWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace grelmond {

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
    : frame_(frame), window_(window), fontColor_(kColorWhite), frameColor_(kColorWhite),
      fillColor_(kColorBlack)
{
    clip_ = frame ? GuiRect{0, 0, frame->size().width(), frame->size().height()}
                  : GuiRect{0, 0, 1000, 1000};
    attach(surface);
    setFont(0);
}

DrawContext::~DrawContext()
{
    if (cr_)
        cairo_destroy(cr_);
    if (surface_)
        cairo_surface_destroy(surface_);
}

void DrawContext::attach(GuiSurface* surface)
{
    if (cr_)
        cairo_destroy(cr_);
    if (surface_)
        cairo_surface_destroy(surface_);
    // Without a surface draw into a scrap pixel, so callers need no checks.
    surface_ = surface ? cairo_surface_reference(surface)
                       : cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cr_ = cairo_create(surface_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    GuiRect c = clip_;
    clip_ = {};
    setClipRect(c);
}

void DrawContext::setSource(GuiColor c)
{
    // Not-XOR equals a difference with the inverted pen for black and white pens.
    if (drawMode_ == kDrawNotXor)
        c = GuiColor{uint8_t(255 - c.red), uint8_t(255 - c.green), uint8_t(255 - c.blue), 0};
    cairo_set_source_rgb(cr_, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

void DrawContext::setDrawMode(int mode)
{
    if (mode == drawMode_)
        return;
    drawMode_ = mode;
    cairo_operator_t op = CAIRO_OPERATOR_OVER;
    if (mode == kDrawMerge)
        op = CAIRO_OPERATOR_ADD;
    else if (mode == kDrawNotXor)
        op = CAIRO_OPERATOR_DIFFERENCE;
    cairo_set_operator(cr_, op);
}

void DrawContext::setClipRect(const GuiRect& r)
{
    if (r == clip_)
        return;
    clip_ = r;
    cairo_reset_clip(cr_);
    cairo_rectangle(cr_, r.left + offset_.x, r.top + offset_.y, r.width(), r.height());
    cairo_clip(cr_);
}

void DrawContext::pushClip(const GuiRect& r)
{
    cairo_save(cr_);
    cairo_rectangle(cr_, r.left + offset_.x, r.top + offset_.y, r.width(), r.height());
    cairo_clip(cr_);
}

void DrawContext::popClip() { cairo_restore(cr_); }

void DrawContext::moveTo(GuiPoint p) { penPosition_ = p; }

void DrawContext::lineTo(GuiPoint p)
{
    strokeSegment(penPosition_, p);
    penPosition_ = p;
}

// A segment covers its start pixel but not its end pixel.
void DrawContext::strokeSegment(GuiPoint from, GuiPoint to)
{
    const double ox = offset_.x, oy = offset_.y;
    setSource(frameColor_);
    if (lineWidth_ == 1 && lineStyle_ == kLineSolid && (from.x == to.x || from.y == to.y)) {
        if (from == to)
            return;
        int x0 = std::min(from.x, to.x), y0 = std::min(from.y, to.y);
        int w = std::abs(to.x - from.x), h = std::abs(to.y - from.y);
        if (from.y == to.y) {
            if (to.x < from.x)
                x0 += 1;
            h = 1;
        } else {
            if (to.y < from.y)
                y0 += 1;
            w = 1;
        }
        cairo_rectangle(cr_, x0 + ox, y0 + oy, w, h);
        cairo_fill(cr_);
        return;
    }
    cairo_set_line_width(cr_, lineWidth_);
    if (lineStyle_ == kLineDotted) {
        const double dash[] = {1.0, 1.0};
        cairo_set_dash(cr_, dash, 2, 0);
    }
    cairo_move_to(cr_, from.x + ox + 0.5, from.y + oy + 0.5);
    cairo_line_to(cr_, to.x + ox + 0.5, to.y + oy + 0.5);
    cairo_stroke(cr_);
    cairo_set_dash(cr_, nullptr, 0, 0);
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
    if (!points || count < 3)
        return;
    cairo_move_to(cr_, points[0].x + offset_.x, points[0].y + offset_.y);
    for (int i = 1; i < count; ++i)
        cairo_line_to(cr_, points[i].x + offset_.x, points[i].y + offset_.y);
    cairo_close_path(cr_);
    setSource(fillColor_);
    cairo_fill(cr_);
}

void DrawContext::fillRect(const GuiRect& r)
{
    if (r.width() <= 1 || r.height() <= 1)
        return;
    cairo_rectangle(cr_, r.left + 1 + offset_.x, r.top + 1 + offset_.y, r.width() - 1, r.height() - 1);
    setSource(fillColor_);
    cairo_fill(cr_);
}

void DrawContext::drawRect(const GuiRect& r)
{
    moveTo({r.left, r.top});
    lineTo({r.right, r.top});
    lineTo({r.right, r.bottom});
    lineTo({r.left, r.bottom});
    lineTo({r.left, r.top});
}

namespace {
void ellipsePath(cairo_t* cr, const GuiRect& r, GuiPoint off, double start, double end, bool wedge)
{
    const double cx = (r.left + r.right) / 2.0 + off.x, cy = (r.top + r.bottom) / 2.0 + off.y;
    const double rx = std::max(0.5, r.width() / 2.0 - 0.5), ry = std::max(0.5, r.height() / 2.0 - 0.5);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    if (wedge)
        cairo_move_to(cr, 0, 0);
    // Screen y runs downwards, so counter-clockwise angles are negated.
    cairo_arc_negative(cr, 0, 0, 1, -start * M_PI / 180.0, -end * M_PI / 180.0);
    if (wedge)
        cairo_close_path(cr);
    cairo_restore(cr);
}
} // namespace

void DrawContext::ellipse(const GuiRect& r)
{
    ellipsePath(cr_, r, offset_, 0, 360, false);
    cairo_close_path(cr_);
    setSource(fillColor_);
    cairo_fill_preserve(cr_);
    setSource(frameColor_);
    cairo_set_line_width(cr_, lineWidth_);
    cairo_stroke(cr_);
}

void DrawContext::arc(const GuiRect& r, double startDegrees, double endDegrees)
{
    ellipsePath(cr_, r, offset_, startDegrees, endDegrees, false);
    setSource(frameColor_);
    cairo_set_line_width(cr_, lineWidth_);
    cairo_stroke(cr_);
}

void DrawContext::pie(const GuiRect& r, double startDegrees, double endDegrees)
{
    ellipsePath(cr_, r, offset_, startDegrees, endDegrees, true);
    setSource(fillColor_);
    cairo_fill_preserve(cr_);
    setSource(frameColor_);
    cairo_set_line_width(cr_, lineWidth_);
    cairo_stroke(cr_);
}

void DrawContext::setPixel(GuiPoint p, GuiColor c)
{
    cairo_rectangle(cr_, p.x + offset_.x, p.y + offset_.y, 1, 1);
    setSource(c);
    cairo_fill(cr_);
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
    const GuiFontSpec& entry = fontSpec(fontId_);
    const bool bold = entry.alwaysBold || (fontFace_ & kFaceBold);
    cairo_select_font_face(cr_, entry.face,
                           (fontFace_ & kFaceItalic) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    // A negative GDI height is the character height, which is cairo's em size.
    cairo_set_font_size(cr_, fontHeight_);
}

int DrawContext::getStringWidth(const std::string& text)
{
    const std::string utf8 = latin1ToUtf8(text);
    cairo_text_extents_t ext;
    cairo_text_extents(cr_, utf8.c_str(), &ext);
    return static_cast<int>(std::lround(ext.x_advance));
}

double DrawContext::textBaseline(const GuiRect& r)
{
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    const int cell = static_cast<int>(std::ceil(fe.ascent + fe.descent));
    return r.top + (r.height() - cell) / 2 + std::round(fe.ascent);
}

void DrawContext::drawString(const std::string& text, const GuiRect& r, bool opaque, int align)
{
    const std::string utf8 = latin1ToUtf8(text);
    const int width = getStringWidth(text);
    int x = r.left + 1;
    if (align == 1)
        x = r.left + (r.width() - width) / 2;
    else if (align == 2)
        x = r.right - width;
    const double baseline = textBaseline(r);

    cairo_save(cr_);
    cairo_rectangle(cr_, r.left + offset_.x, r.top + offset_.y, r.width(), r.height());
    cairo_clip(cr_);
    if (opaque) {
        cairo_font_extents_t fe;
        cairo_font_extents(cr_, &fe);
        cairo_rectangle(cr_, x + offset_.x, baseline - fe.ascent + offset_.y, width, fe.ascent + fe.descent);
        setSource(fillColor_);
        cairo_fill(cr_);
    }
    setSource(fontColor_);
    cairo_move_to(cr_, x + offset_.x, baseline + offset_.y);
    cairo_show_text(cr_, utf8.c_str());
    if (fontFace_ & kFaceUnderline) {
        cairo_rectangle(cr_, x + offset_.x, baseline + 1 + offset_.y, width, 1);
        cairo_fill(cr_);
    }
    cairo_restore(cr_);
}

int DrawContext::getMouseButtons() { return window_ ? window_->mouseButtons() : 0; }

int DrawContext::pressButtons() { return pressButtons_ >= 0 ? pressButtons_ : getMouseButtons(); }

GuiPoint DrawContext::getMouseLocation() { return window_ ? window_->mouseLocation() : GuiPoint{}; }

bool DrawContext::waitDoubleClick() { return window_ ? window_->waitDoubleClick() : false; }

} // namespace grelmond
