#pragma once

#include "gui/ValueDisplay.h"

#include <memory>
#include <string>

namespace grelmond {

class LineEditor;

using TextToText = void (*)(const char* text, char* shown);

// A display of a text of at most 255 characters that the user edits in place
// after a click. Enter or a press elsewhere ends editing; the listener hears of
// it only when the text changed. With the mouse disabled it is a plain label.
class TextField : public ValueDisplay {
public:
    static constexpr size_t kMaxText = 255;

    TextField(const GuiRect& size, ControlListener* listener, int tag, const char* text = nullptr,
              GuiBitmap* background = nullptr, int style = 0);
    ~TextField() override;

    void setText(const std::string& text);
    const std::string& getText() const { return text_; }
    // Copies the text and its terminator into a buffer of at least 256 characters.
    void getText(char* buffer) const;
    void setTextConverter(TextToText converter) { textConverter_ = converter; }

    void draw(DrawContext& context) override;
    void mouse(DrawContext& context, GuiPoint where) override;
    void takeFocus(DrawContext& context) override;
    void releaseFocus(DrawContext& context) override;
    void onKey(DrawContext& context, const GuiKeyEvent& key) override;
    bool isEditing() const { return editor_ != nullptr || nativeEdit_; }
    const LineEditor* lineEditor() const { return editor_.get(); }

private:
    std::string text_;
    TextToText textConverter_ = nullptr;
    std::unique_ptr<LineEditor> editor_;
    bool nativeEdit_ = false; // the platform's own edit field is open over this one
};

} // namespace grelmond
