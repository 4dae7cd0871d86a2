#include "gui/ValueDisplay.h"

#include "gui/DrawContext.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace grelmond {

namespace {
constexpr size_t kTextBuffer = 256;

template <typename T>
bool change(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
} // namespace

ValueDisplay::ValueDisplay(const GuiRect& size, GuiBitmap* background, int style)
    : ValueDisplay(size, nullptr, -1, background, style)
{
}

ValueDisplay::ValueDisplay(const GuiRect& size, ControlListener* listener, int tag, GuiBitmap* background,
                           int style)
    : GuiControl(size, listener, tag, background), style_(style)
{
}

void ValueDisplay::setFont(int fontId)
{
    if (change(fontId_, fontId))
        setDirty(true);
}

void ValueDisplay::setFontColor(GuiColor c)
{
    if (change(fontColor_, c))
        setDirty(true);
}

void ValueDisplay::setBackColor(GuiColor c)
{
    if (change(backColor_, c))
        setDirty(true);
}

void ValueDisplay::setFrameColor(GuiColor c)
{
    if (change(frameColor_, c))
        setDirty(true);
}

void ValueDisplay::setShadowColor(GuiColor c)
{
    if (change(shadowColor_, c))
        setDirty(true);
}

void ValueDisplay::setHoriAlign(int align)
{
    if (change(horiAlign_, align))
        setDirty(true);
}

void ValueDisplay::setStyle(int style)
{
    if (change(style_, style))
        setDirty(true);
}

void ValueDisplay::setTextFace(int face)
{
    if (change(textFace_, face))
        setDirty(true);
}

void ValueDisplay::setConverterWithData(ValueToTextWithData converter, void* userData)
{
    converterWithData_ = converter;
    userData_ = userData;
}

std::string ValueDisplay::text() const
{
    char buffer[kTextBuffer + 1] = {};
    if (converterWithData_)
        converterWithData_(value_, buffer, userData_);
    else if (converter_)
        converter_(value_, buffer);
    else
        std::snprintf(buffer, kTextBuffer, "%2.2f", value_);
    buffer[kTextBuffer - 1] = '\0'; // a converter that forgot the terminator stays inside the buffer
    return buffer;
}

void ValueDisplay::draw(DrawContext& context) { drawText(context, text()); }

void ValueDisplay::fitFont(DrawContext& context, const std::string& text)
{
    context.setFont(fontId_, 0, textFace_);
    const int room = size().width() - 2;
    const int width = context.getStringWidth(text);
    if (width <= room || width <= 0)
        return;
    // A name too long for its place is shown whole in a smaller face, down to
    // the smallest that still reads.
    const double scale = context.frame() != nullptr ? context.frame()->scale() : 1.0;
    const int smallest = int(std::lround(kSmallestText * scale));
    const int height = std::max(context.fontHeight() * room / width, smallest);
    if (height < context.fontHeight())
        context.setFont(fontId_, height, textFace_);
}

void ValueDisplay::drawText(DrawContext& context, const std::string& text)
{
    setDirty(false);
    if (style_ & kDisplayNoDraw)
        return;
    const GuiRect& r = size();
    if (GuiBitmap* bitmap = getBackground()) {
        drawBitmapPart(context, bitmap, r, getBackgroundOffset());
    } else if (!transparent()) {
        context.setFillColor(backColor_);
        context.fillRect(r);
        if (!(style_ & (kDisplay3DIn | kDisplay3DOut))) {
            context.setFrameColor(frameColor_);
            context.drawRect(r);
        }
    }
    if (style_ & (kDisplay3DIn | kDisplay3DOut)) {
        const bool in = (style_ & kDisplay3DIn) != 0;
        context.setFrameColor(in ? backColor_ : frameColor_);
        context.moveTo({r.left, r.bottom});
        context.lineTo({r.left, r.top});
        context.lineTo({r.right + 1, r.top});
        context.setFrameColor(in ? frameColor_ : backColor_);
        context.moveTo({r.right, r.top + 1});
        context.lineTo({r.right, r.bottom});
        context.lineTo({r.left, r.bottom});
    }
    if (style_ & kDisplayNoText)
        return;
    fitFont(context, text);
    if (style_ & kDisplayShadowText) {
        context.setFontColor(shadowColor_);
        context.drawString(text, r.offsetBy(1, 1), false, horiAlign_);
    }
    context.setFontColor(fontColor_);
    context.drawString(text, r, false, horiAlign_);
}

} // namespace grelmond
