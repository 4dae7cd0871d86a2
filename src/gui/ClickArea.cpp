#include "gui/ClickArea.h"

#include "gui/DrawContext.h"

#include <utility>

namespace grelmond {

ClickArea::ClickArea(const GuiRect& size, Pressed pressed, Wheeled wheeled)
    : GuiView(size), pressed_(std::move(pressed)), wheeled_(std::move(wheeled))
{
}

void ClickArea::mouse(DrawContext& context, GuiPoint where)
{
    if (mouseEnabled() && pressed_)
        pressed_(where, context.pressButtons());
}

bool ClickArea::onWheel(DrawContext& context, GuiPoint where, float distance)
{
    if (!mouseEnabled() || !wheeled_)
        return false;
    wheeled_(distance);
    return true;
}

} // namespace grelmond
