#pragma once

#include "gui/GuiTypes.h"

namespace grelmond {

class DrawContext;
class GuiFrame;

// A rectangle of the editor that draws itself and may take the mouse.
// Reference counted: the creator holds the first reference. UI thread only.
class GuiView {
public:
    explicit GuiView(const GuiRect& size);
    virtual ~GuiView();
    GuiView(const GuiView&) = delete;
    GuiView& operator=(const GuiView&) = delete;

    void retain() { ++refCount_; }
    void release();
    int refCount() const { return refCount_; }

    virtual void draw(DrawContext& context);
    virtual void mouse(DrawContext& context, GuiPoint where);
    virtual void update(DrawContext& context);
    // Files dropped on the view; true when it took them.
    virtual bool onDrop(DrawContext& context, const char* const* files, int count, int type, GuiPoint where);
    virtual bool onWheel(DrawContext& context, GuiPoint where, float distance);
    // A press outside the view while it is the frame's modal view.
    virtual void mouseOutside(DrawContext& context, GuiPoint where) {}
    // The second left press of a double-click; false leaves it to mouse().
    virtual bool onDoubleClick(DrawContext& context) { return false; }
    // The pointer moved with no button held.
    virtual void mouseMoved(DrawContext& context, GuiPoint where) {}
    virtual void releaseFocus(DrawContext& context);
    virtual void takeFocus(DrawContext& context);
    virtual bool isDirty() const;
    virtual void setDirty(bool dirty);

    const GuiRect& size() const { return size_; }
    void setSize(const GuiRect& r) { size_ = r; }
    const GuiRect& mouseRect() const { return mouseRect_; }
    void setMouseRect(const GuiRect& r) { mouseRect_ = r; }
    GuiFrame* parentFrame() const { return parentFrame_; }
    void setParentFrame(GuiFrame* frame) { parentFrame_ = frame; }
    GuiView* parentView() const { return parentView_; }
    void setParentView(GuiView* view) { parentView_ = view; }
    bool mouseEnabled() const { return mouseEnabled_; }
    void setMouseEnabled(bool on) { mouseEnabled_ = on; }
    bool transparent() const { return transparent_; }
    void setTransparent(bool on) { transparent_ = on; }

    // A key typed while this view has the keyboard focus.
    virtual void onKey(DrawContext& context, const GuiKeyEvent& key);

protected:
    bool dirtyFlag() const { return dirty_; }

private:
    int refCount_ = 1;
    GuiRect size_;
    GuiRect mouseRect_;
    GuiFrame* parentFrame_ = nullptr;
    GuiView* parentView_ = nullptr;
    bool dirty_ = true;
    bool mouseEnabled_ = true;
    bool transparent_ = false;
};

} // namespace grelmond
