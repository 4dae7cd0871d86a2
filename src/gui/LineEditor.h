#pragma once

#include "gui/GuiTypes.h"

#include <string>

namespace grelmond {

class DrawContext;

// The single-line text editor a text field shows while it is being edited:
// caret, selection, Backspace/Delete, Home/End and typing over the selection.
class LineEditor {
public:
    explicit LineEditor(std::string text, size_t maxLength = 255);

    void selectAll();
    // Applies one key; true when the key ends editing (Enter).
    bool key(const GuiKeyEvent& key);

    const std::string& text() const { return text_; }
    size_t caret() const { return caret_; }
    size_t selectionStart() const { return std::min(anchor_, caret_); }
    size_t selectionEnd() const { return std::max(anchor_, caret_); }

    // Draws over rect in the field's font and colours; align as in drawString.
    void draw(DrawContext& context, const GuiRect& rect, int fontId, int face, int align, GuiColor fontColor,
              GuiColor backColor) const;

private:
    void eraseSelection();
    void moveCaret(size_t to, bool extend);

    std::string text_;
    size_t maxLength_;
    size_t caret_ = 0;
    size_t anchor_ = 0;
};

} // namespace grelmond
