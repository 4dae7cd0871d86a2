#pragma once

#include "gui/GuiColors.h"
#include "gui/GuiControl.h"

#include <string>

namespace grelmond {

enum DisplayStyle : int {
    kDisplayShadowText = 0x4,
    kDisplay3DIn = 0x80,
    kDisplay3DOut = 0x100,
    kDisplayNoText = 0x800,
    kDisplayNoDraw = 0x1000,
};

// Turns a value into the text shown; the buffer holds 256 characters.
using ValueToText = void (*)(float value, char* text);
using ValueToTextWithData = void (*)(float value, char* text, void* userData);

// Shows its value as text; takes no mouse input.
class ValueDisplay : public GuiControl {
public:
    ValueDisplay(const GuiRect& size, GuiBitmap* background = nullptr, int style = 0);

    void draw(DrawContext& context) override;
    bool onDoubleClick(DrawContext& context) override { return false; }

    void setFont(int fontId);
    int getFont() const { return fontId_; }
    void setFontColor(GuiColor c);
    GuiColor getFontColor() const { return fontColor_; }
    void setBackColor(GuiColor c);
    GuiColor getBackColor() const { return backColor_; }
    void setFrameColor(GuiColor c);
    GuiColor getFrameColor() const { return frameColor_; }
    void setShadowColor(GuiColor c);
    GuiColor getShadowColor() const { return shadowColor_; }
    void setHoriAlign(int align);
    int getHoriAlign() const { return horiAlign_; }
    void setConverterWithData(ValueToTextWithData converter, void* userData);
    void setConverter(ValueToText converter) { converter_ = converter; }
    void setStyle(int style);
    int getStyle() const { return style_; }
    void setTextFace(int face);
    int getTextFace() const { return textFace_; }

    // The text the display shows for its value.
    std::string text() const;

protected:
    ValueDisplay(const GuiRect& size, ControlListener* listener, int tag, GuiBitmap* background, int style);
    void drawText(DrawContext& context, const std::string& text);
    // Chooses the display's font, smaller when the text would not fit.
    void fitFont(DrawContext& context, const std::string& text);
    static constexpr int kSmallestText = 7; // pixels at 1x

private:
    int fontId_ = 3;
    GuiColor fontColor_ = kColorWhite;
    GuiColor backColor_ = kColorBlack;
    GuiColor frameColor_ = kColorBlack;
    GuiColor shadowColor_ = kColorRed;
    int horiAlign_ = 1;
    ValueToTextWithData converterWithData_ = nullptr;
    void* userData_ = nullptr;
    ValueToText converter_ = nullptr;
    int style_;
    int textFace_ = 0;
};

} // namespace grelmond
