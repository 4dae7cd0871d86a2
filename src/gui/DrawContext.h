#pragma once

#include "gui/GuiTypes.h"

#include "gui/GuiSurface.h"

#include <string>
#include <vector>

namespace grelmond {

class GuiFrame;
class GuiWindow;

enum DrawMode : int {
    kDrawCopy = 0,
    kDrawMerge = 1,
    kDrawNotXor = 2,
};

enum LineStyle : int {
    kLineSolid = 0,
    kLineDotted = 1,
};

// One drawing pass on a surface, with GDI-like pixel rules: lines leave out
// their end point, fillRect leaves the top and left edge to the frame.
// UI thread only.
class DrawContext {
public:
    // surface may be null (nothing to draw on): every operation then draws nothing.
    DrawContext(GuiSurface* surface, GuiWindow* window, GuiFrame* frame);
    virtual ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    void moveTo(GuiPoint p);
    void lineTo(GuiPoint p);
    void polyLine(const GuiPoint* points, int count);
    void polygon(const GuiPoint* points, int count);
    void fillRect(const GuiRect& r);
    void drawRect(const GuiRect& r);
    void ellipse(const GuiRect& r);
    // Angles in degrees, counter-clockwise from three o'clock.
    void arc(const GuiRect& r, double startDegrees, double endDegrees);
    void pie(const GuiRect& r, double startDegrees, double endDegrees);
    void setPixel(GuiPoint p, GuiColor c);

    void setFrameColor(GuiColor c) { frameColor_ = c; }
    GuiColor frameColor() const { return frameColor_; }
    void setLineWidth(int width) { lineWidth_ = width < 1 ? 1 : width; }
    int lineWidth() const { return lineWidth_; }
    void setLineStyle(int style) { lineStyle_ = style; }
    int lineStyle() const { return lineStyle_; }
    void setFillColor(GuiColor c) { fillColor_ = c; }
    GuiColor fillColor() const { return fillColor_; }
    void setFontColor(GuiColor c) { fontColor_ = c; }
    GuiColor fontColor() const { return fontColor_; }
    void setDrawMode(int mode);
    int drawMode() const { return drawMode_; }
    void setClipRect(const GuiRect& r);
    GuiRect clipRect() const { return clip_; }
    // Narrows drawing to r, inside what is allowed already, until the matching popClip.
    void pushClip(const GuiRect& r);
    void popClip();

    // height 0 means the font id's own height; face is FontFace bits.
    void setFont(int id, int height = 0, int face = 0);
    int fontId() const { return fontId_; }
    int fontHeight() const { return fontHeight_; }
    int getStringWidth(const std::string& text);
    // Single line, vertically centred; align 1 centred, 2 right, otherwise left (indented by 1).
    void drawString(const std::string& text, const GuiRect& r, bool opaque = false, int align = 1);

    int getMouseButtons();
    // The state that came with the press being handled (a queued press may be
    // handled after its release); the live state when there is none.
    int pressButtons();
    void setPressButtons(int buttons) { pressButtons_ = buttons; }
    GuiPoint getMouseLocation();
    bool waitDoubleClick();

    void setOffset(GuiPoint offset) { offset_ = offset; }
    GuiPoint offset() const { return offset_; }
    GuiFrame* frame() const { return frame_; }
    GuiWindow* window() const { return window_; }
#ifndef _WIN32
    cairo_t* cairo() const { return cr_; }
#endif
    GuiSurface* surface() const { return surface_; }

protected:
    void attach(GuiSurface* surface);

private:
    void strokeSegment(GuiPoint from, GuiPoint to);
    void applyFont();
#ifdef _WIN32
    void detach();
    void applyPen();
    void applyBrush();
    void shapeTools();
#else
    void setSource(GuiColor c);
    double textBaseline(const GuiRect& r);
#endif

    GuiPoint offset_;
    GuiFrame* frame_;
    GuiWindow* window_;
    GuiSurface* surface_ = nullptr;
#ifdef _WIN32
    // The device context, the state it had before this pass (SaveDC level), and
    // the pen, brush and font this pass made; the DC's own ones come back at the end.
    void* dc_ = nullptr;
    int savedState_ = 0;
    void* pen_ = nullptr;
    void* brush_ = nullptr;
    void* font_ = nullptr;
    // What the pen and brush of this pass were made with (width 0: none made yet).
    GuiColor penColor_;
    int penWidth_ = 0;
    int penStyle_ = 0;
    GuiColor brushColor_;
    bool brushMade_ = false;
    std::vector<void*> clipStack_; // regions to put back by popClip (null: no clip)
#else
    cairo_t* cr_ = nullptr;
#endif
    GuiColor fontColor_;
    int drawMode_ = kDrawCopy;
    int lineStyle_ = kLineSolid;
    int lineWidth_ = 1;
    GuiColor frameColor_;
    GuiColor fillColor_;
    int fontId_ = 0;
    int fontHeight_ = 0;
    int fontFace_ = 0;
    GuiRect clip_;
    GuiPoint penPosition_;
    int pressButtons_ = -1;
};

// Text of the system is single-byte; cairo wants UTF-8.
std::string latin1ToUtf8(const std::string& text);

} // namespace grelmond
