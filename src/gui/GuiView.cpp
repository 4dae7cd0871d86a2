#include "gui/GuiView.h"

namespace grelmond {

GuiView::GuiView(const GuiRect& size) : size_(size), mouseRect_(size) {}

GuiView::~GuiView() = default;

void GuiView::release()
{
    if (--refCount_ <= 0)
        delete this;
}

void GuiView::draw(DrawContext&) { setDirty(false); }

void GuiView::mouse(DrawContext&, GuiPoint) {}

void GuiView::update(DrawContext& context)
{
    if (isDirty())
        draw(context);
}

bool GuiView::onDrop(DrawContext&, const char* const*, int, int, GuiPoint) { return false; }

bool GuiView::onWheel(DrawContext&, GuiPoint, float) { return false; }

void GuiView::releaseFocus(DrawContext&) {}

void GuiView::takeFocus(DrawContext&) {}

bool GuiView::isDirty() const { return dirty_; }

void GuiView::setDirty(bool dirty) { dirty_ = dirty; }

void GuiView::onKey(DrawContext&, const GuiKeyEvent&) {}

} // namespace grelmond
