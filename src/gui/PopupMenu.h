#pragma once

#include "gui/GuiView.h"

#include <functional>
#include <string>
#include <vector>

namespace grelmond {

// A menu of choices laid out in columns, shown over the frame as its modal
// view. A click on an item chooses it; a click outside, Escape or the loss of
// the keyboard focus closes it without a choice; Up, Down and Enter choose
// from the keyboard. It places itself inside the frame, above its anchor when
// there is no room below, so it never leaves the window or the screen.
// UI thread only.
class PopupMenu : public GuiView {
public:
    struct Item {
        std::string text;
        int id = -1;           // what a choice reports
        bool checked = false;  // marked as the current one
        bool heading = false;  // a title that cannot be chosen
        bool newColumn = false; // starts a column of its own
    };
    // Called once when the menu closes: the chosen id, or -1 for none.
    using Closed = std::function<void(int id)>;

    // A column holds at most rowsPerColumn items.
    PopupMenu(std::vector<Item> items, int rowsPerColumn, Closed closed);

    // Measures the items, places the menu at anchor (device pixels) and shows it;
    // the frame takes over the creator's reference, released when the menu closes.
    void open(GuiFrame& frame, GuiPoint anchor);
    // Closes without a choice, as Escape does.
    void dismiss() { finish(-1); }
    bool isOpen() const { return parentFrame() != nullptr; }
    // The item shown under the pointer or picked with the keys; -1 for none.
    int highlighted() const { return highlight_; }
    // The place of an item, for tests and the frame.
    GuiRect itemRect(int index) const;
    int itemCount() const { return int(items_.size()); }

    void draw(DrawContext& context) override;
    void mouse(DrawContext& context, GuiPoint where) override;
    void mouseOutside(DrawContext& context, GuiPoint where) override;
    void mouseMoved(DrawContext& context, GuiPoint where) override;
    void onKey(DrawContext& context, const GuiKeyEvent& key) override;
    void releaseFocus(DrawContext& context) override;

private:
    int itemAt(GuiPoint where) const;
    void stepHighlight(int direction);
    void finish(int id);
    void drawItem(DrawContext& context, int index);

    void layOut();

    std::vector<Item> items_;
    std::vector<GuiPoint> cells_; // column and row of each item
    int columns_ = 1;
    int rows_ = 1;
    int rowsPerColumn_;
    Closed closed_;
    int rowHeight_ = 12;
    int columnWidth_ = 100;
    int padding_ = 4;
    int highlight_ = -1;
};

} // namespace grelmond
