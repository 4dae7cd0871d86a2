#include "gui/TextField.h"

#include "gui/DrawContext.h"
#include "gui/GuiFonts.h"
#include "gui/GuiFrame.h"
#include "gui/LineEditor.h"

#include <cmath>
#include <cstring>

namespace grelmond {

namespace {
std::string limited(const char* text)
{
    if (!text)
        return {};
    return std::string(text, strnlen(text, TextField::kMaxText));
}
} // namespace

TextField::TextField(const GuiRect& size, ControlListener* listener, int tag, const char* text, GuiBitmap* background,
                     int style)
    : ValueDisplay(size, listener, tag, background, style), text_(limited(text))
{
}

TextField::~TextField() = default;

void TextField::setText(const std::string& text)
{
    const std::string next = limited(text.c_str());
    if (next == text_)
        return;
    text_ = next;
    setDirty(true);
}

void TextField::getText(char* buffer) const
{
    if (!buffer)
        return;
    std::memcpy(buffer, text_.c_str(), text_.size() + 1);
}

void TextField::draw(DrawContext& context)
{
    if (editor_) {
        const GuiRect& r = size();
        editor_->draw(context, {r.left, r.top, r.right + 1, r.bottom + 1}, getFont(), getTextFace(), getHoriAlign(),
                      getFontColor(), getBackColor());
        setDirty(false);
        return;
    }
    if (textConverter_) {
        char shown[kMaxText + 2] = {};
        textConverter_(text_.c_str(), shown);
        shown[kMaxText] = '\0';
        drawText(context, shown);
    } else {
        drawText(context, text_);
    }
}

void TextField::mouse(DrawContext& context, GuiPoint)
{
    if (!mouseEnabled() || isEditing() || !(context.pressButtons() & kMouseLeft))
        return;
    if (parentFrame())
        parentFrame()->setFocusView(this);
    takeFocus(context);
}

void TextField::takeFocus(DrawContext& context)
{
    GuiWindow* window = context.window();
    const GuiRect& r = size();
    const double scale = parentFrame() != nullptr ? parentFrame()->scale() : 1.0;
    const int height = int(std::lround(fontSpec(getFont()).height * scale));
    if (window && window->beginNativeEdit({r.left + 1, r.top + 1, r.right, r.bottom}, text_, getFont(), height,
                                          getFontColor(), getBackColor())) {
        nativeEdit_ = true;
        return;
    }
    editor_ = std::make_unique<LineEditor>(text_, kMaxText);
    editor_->selectAll();
    if (window)
        window->takeKeyboardFocus();
    draw(context);
}

void TextField::releaseFocus(DrawContext& context)
{
    if (!isEditing())
        return;
    GuiWindow* window = context.window();
    std::string edited;
    if (nativeEdit_) {
        nativeEdit_ = false;
        edited = limited(window ? window->endNativeEdit().c_str() : text_.c_str());
    } else {
        edited = limited(editor_->text().c_str());
        editor_.reset();
        if (window)
            window->releaseKeyboardFocus();
    }
    if (parentFrame() && parentFrame()->focusView() == this)
        parentFrame()->setFocusView(nullptr);
    const bool changed = edited != text_;
    text_ = edited;
    if (changed)
        report(context);
    draw(context);
}

void TextField::onKey(DrawContext& context, const GuiKeyEvent& key)
{
    if (nativeEdit_) {
        if (key.key == GuiKey::Enter)
            releaseFocus(context);
        return;
    }
    if (!editor_)
        return;
    if (editor_->key(key))
        releaseFocus(context);
    else
        draw(context);
}

} // namespace grelmond
