#include "gui/LineEditor.h"

#include "gui/DrawContext.h"

#include <algorithm>

namespace grelmond {

namespace {
bool printable(unsigned char c) { return (c >= 0x20 && c < 0x7F) || c >= 0xA0; }
} // namespace

LineEditor::LineEditor(std::string text, size_t maxLength) : text_(std::move(text)), maxLength_(maxLength)
{
    if (text_.size() > maxLength_)
        text_.resize(maxLength_);
    caret_ = anchor_ = text_.size();
}

void LineEditor::selectAll()
{
    anchor_ = 0;
    caret_ = text_.size();
}

void LineEditor::eraseSelection()
{
    const size_t start = selectionStart();
    text_.erase(start, selectionEnd() - start);
    caret_ = anchor_ = start;
}

void LineEditor::moveCaret(size_t to, bool extend)
{
    caret_ = std::min(to, text_.size());
    if (!extend)
        anchor_ = caret_;
}

bool LineEditor::key(const GuiKeyEvent& key)
{
    const bool selection = caret_ != anchor_;
    switch (key.key) {
    case GuiKey::Character:
        if (!printable(key.character))
            break;
        eraseSelection();
        if (text_.size() < maxLength_) {
            text_.insert(caret_, 1, static_cast<char>(key.character));
            moveCaret(caret_ + 1, false);
        }
        break;
    case GuiKey::Left:
        if (selection && !key.shift)
            moveCaret(selectionStart(), false);
        else
            moveCaret(caret_ > 0 ? caret_ - 1 : 0, key.shift);
        break;
    case GuiKey::Right:
        if (selection && !key.shift)
            moveCaret(selectionEnd(), false);
        else
            moveCaret(caret_ + 1, key.shift);
        break;
    case GuiKey::Home:
        moveCaret(0, key.shift);
        break;
    case GuiKey::End:
        moveCaret(text_.size(), key.shift);
        break;
    case GuiKey::Backspace:
        if (selection)
            eraseSelection();
        else if (caret_ > 0) {
            text_.erase(caret_ - 1, 1);
            moveCaret(caret_ - 1, false);
        }
        break;
    case GuiKey::Delete:
        if (selection)
            eraseSelection();
        else if (caret_ < text_.size())
            text_.erase(caret_, 1);
        break;
    case GuiKey::Enter:
        return true;
    case GuiKey::Escape:
    case GuiKey::Other:
        break;
    }
    return false;
}

void LineEditor::draw(DrawContext& context, const GuiRect& rect, int fontId, int face, int align, GuiColor fontColor,
                      GuiColor backColor) const
{
    context.setFillColor(backColor);
    context.fillRect({rect.left - 1, rect.top - 1, rect.right, rect.bottom});
    context.setFont(fontId, 0, face & ~kFaceBold);
    const int width = context.getStringWidth(text_);
    int x = rect.left + 1;
    if (width > rect.width() - 2) {
        // Too long for the field: scroll so that the caret stays in view.
        const int caretOffset = context.getStringWidth(text_.substr(0, caret_));
        x -= std::max(0, caretOffset - (rect.width() - 3));
    } else if (align == 1) {
        x = rect.left + (rect.width() - width) / 2;
    } else if (align == 2) {
        x = rect.right - width;
    }
    context.pushClip(rect);
    const GuiRect textRect{x - 1, rect.top, x - 1 + std::max(width + 2, 2), rect.bottom};
    const int selStart = x + context.getStringWidth(text_.substr(0, selectionStart()));
    const int selEnd = x + context.getStringWidth(text_.substr(0, selectionEnd()));

    context.setFontColor(fontColor);
    context.drawString(text_, textRect, false, 0);
    if (selEnd > selStart) {
        // Selected text is drawn inverted.
        context.setFillColor(fontColor);
        context.fillRect({selStart - 1, rect.top, selEnd, rect.bottom});
        context.pushClip({selStart, rect.top, selEnd, rect.bottom});
        context.setFontColor(backColor);
        context.drawString(text_, textRect, false, 0);
        context.popClip();
    } else {
        const int caretX = x + context.getStringWidth(text_.substr(0, caret_));
        context.setFrameColor(fontColor);
        context.moveTo({caretX, rect.top + 1});
        context.lineTo({caretX, rect.bottom});
    }
    context.popClip();
}

} // namespace grelmond
