#include "gui/PopupMenu.h"

#include "gui/DrawContext.h"
#include "gui/GuiFrame.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace grelmond {

namespace {

constexpr int kFont = 5;
constexpr GuiColor kFace{40, 36, 30, 0};
constexpr GuiColor kEdge{164, 129, 61, 0};
constexpr GuiColor kText{220, 214, 200, 0};
constexpr GuiColor kHeading{200, 170, 100, 0};
constexpr GuiColor kHighlight{164, 129, 61, 0};

int scaled(int length, double scale) { return int(std::lround(length * scale)); }

} // namespace

PopupMenu::PopupMenu(std::vector<Item> items, int rowsPerColumn, Closed closed)
    : GuiView({0, 0, 0, 0}), items_(std::move(items)), rowsPerColumn_(std::max(rowsPerColumn, 1)),
      closed_(std::move(closed))
{
    layOut();
}

void PopupMenu::layOut()
{
    int column = 0;
    int row = 0;
    rows_ = 1;
    for (const Item& item : items_) {
        if (row > 0 && (item.newColumn || row == rowsPerColumn_)) {
            ++column;
            row = 0;
        }
        cells_.push_back({column, row});
        rows_ = std::max(rows_, ++row);
    }
    columns_ = column + 1;
}

void PopupMenu::open(GuiFrame& frame, GuiPoint anchor)
{
    const double scale = frame.scale();
    rowHeight_ = scaled(13, scale);
    padding_ = scaled(4, scale);
    GuiWindow* window = frame.window();
    {
        DrawContext context(window ? window->surface() : nullptr, window, &frame);
        context.setFont(kFont, 0, kFaceBold);
        int widest = 0;
        for (const Item& item : items_)
            widest = std::max(widest, context.getStringWidth(item.text));
        columnWidth_ = widest + 3 * padding_ + scaled(8, scale); // room for the mark
    }
    const int width = columns_ * columnWidth_ + 2 * padding_;
    const int height = rows_ * rowHeight_ + 2 * padding_;
    const GuiRect bounds = frame.size();
    int left = std::clamp(anchor.x, 0, std::max(bounds.width() - width, 0));
    int top = anchor.y;
    if (top + height > bounds.height()) // no room below: open upwards from the anchor
        top = anchor.y - height;
    top = std::clamp(top, 0, std::max(bounds.height() - height, 0));
    setSize({left, top, left + width, top + height});
    setMouseRect(size());
    setParentFrame(&frame);
    highlight_ = -1;
    for (int i = 0; i < itemCount(); ++i)
        if (items_[size_t(i)].checked)
            highlight_ = i;
    frame.setModalView(this);
    if (window != nullptr)
        window->takeKeyboardFocus(); // for Escape and the arrows, while it is open
    setDirty(true);
}

GuiRect PopupMenu::itemRect(int index) const
{
    const GuiPoint cell = index >= 0 && index < itemCount() ? cells_[size_t(index)] : GuiPoint{};
    const int column = cell.x;
    const int row = cell.y;
    const int left = size().left + padding_ + column * columnWidth_;
    const int top = size().top + padding_ + row * rowHeight_;
    return {left, top, left + columnWidth_, top + rowHeight_};
}

int PopupMenu::itemAt(GuiPoint where) const
{
    for (int i = 0; i < itemCount(); ++i) {
        const GuiRect r = itemRect(i);
        // Right and bottom edges belong to the next item.
        if (where.x >= r.left && where.x < r.right && where.y >= r.top && where.y < r.bottom)
            return items_[size_t(i)].heading ? -1 : i;
    }
    return -1;
}

void PopupMenu::draw(DrawContext& context)
{
    const GuiRect& r = size();
    context.setFillColor(kFace);
    context.fillRect({r.left - 1, r.top - 1, r.right, r.bottom});
    context.setFrameColor(kEdge);
    context.drawRect({r.left, r.top, r.right - 1, r.bottom - 1});
    for (int i = 0; i < itemCount(); ++i)
        drawItem(context, i);
    setDirty(false);
}

void PopupMenu::drawItem(DrawContext& context, int index)
{
    const Item& item = items_[size_t(index)];
    const GuiRect r = itemRect(index);
    const int mark = rowHeight_ / 2;
    if (index == highlight_) {
        context.setFillColor(kHighlight);
        context.fillRect({r.left - 1, r.top - 1, r.right - 1, r.bottom - 1});
    }
    if (item.checked) {
        context.setFillColor(kText);
        const int side = std::max(rowHeight_ / 3, 2);
        const int top = r.top + (rowHeight_ - side) / 2;
        context.fillRect({r.left + padding_ - 1, top - 1, r.left + padding_ + side - 1, top + side - 1});
    }
    context.setFont(kFont, 0, item.heading ? kFaceBold : 0);
    context.setFontColor(item.heading ? kHeading : kText);
    const int indent = item.heading ? padding_ : padding_ + mark + padding_ / 2;
    context.drawString(item.text, {r.left + indent, r.top, r.right, r.bottom}, false, 0);
}

void PopupMenu::mouse(DrawContext& context, GuiPoint where)
{
    const int index = itemAt(where);
    if (index >= 0)
        finish(items_[size_t(index)].id);
}

void PopupMenu::mouseOutside(DrawContext& context, GuiPoint where) { finish(-1); }

void PopupMenu::mouseMoved(DrawContext& context, GuiPoint where)
{
    const int index = itemAt(where);
    if (index != highlight_ && index >= 0) {
        highlight_ = index;
        setDirty(true);
    }
}

void PopupMenu::onKey(DrawContext& context, const GuiKeyEvent& key)
{
    switch (key.key) {
    case GuiKey::Escape:
        finish(-1);
        break;
    case GuiKey::Up:
        stepHighlight(-1);
        break;
    case GuiKey::Down:
        stepHighlight(1);
        break;
    case GuiKey::Enter:
        if (highlight_ >= 0)
            finish(items_[size_t(highlight_)].id);
        break;
    default:
        break;
    }
}

void PopupMenu::stepHighlight(int direction)
{
    for (int i = highlight_ + direction; i >= 0 && i < itemCount(); i += direction)
        if (!items_[size_t(i)].heading) {
            highlight_ = i;
            setDirty(true);
            return;
        }
}

void PopupMenu::releaseFocus(DrawContext& context) { finish(-1); }

void PopupMenu::finish(int id)
{
    GuiFrame* frame = parentFrame();
    if (frame == nullptr)
        return;
    setParentFrame(nullptr);
    frame->setModalView(nullptr);
    frame->setDirty(true); // what the menu covered is drawn again
    if (GuiWindow* window = frame->window())
        window->releaseKeyboardFocus();
    const Closed closed = std::move(closed_);
    release(); // the frame's reference; nothing of this object is touched after
    if (closed)
        closed(id);
}

} // namespace grelmond
