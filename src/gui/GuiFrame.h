#pragma once

#include "gui/GuiView.h"
#include "gui/GuiWindow.h"

#include <memory>
#include <vector>

namespace grelmond {

class GuiBitmap;
class GuiFrameOwner;

// The editor's window: a background picture and a list of views drawn in the
// order they were added, the last added getting the mouse first. It holds the
// creator's reference to every view it is given. UI thread only.
class GuiFrame : public GuiView, private GuiWindowEvents {
public:
    // parentWindow is the host's X11 window id; null makes a headless frame
    // that draws into an image.
    GuiFrame(const GuiRect& size, void* parentWindow, GuiFrameOwner* owner);
    // With a ready platform window (tests, pictures).
    GuiFrame(const GuiRect& size, std::unique_ptr<GuiWindow> window, GuiFrameOwner* owner);
    ~GuiFrame() override;

    void setBackground(GuiBitmap* bitmap);
    GuiBitmap* background() const { return background_; }

    void addView(GuiView* view);
    // Takes the view out of the list; true when it was there.
    bool removeView(GuiView* view, bool releaseIt = true);
    bool containsView(const GuiView* view) const;
    int viewCount() const { return static_cast<int>(views_.size()); }
    GuiView* viewAt(int index) const;
    // The topmost view whose mouse rectangle holds the point, edges included.
    GuiView* viewAt(GuiPoint where) const;

    void draw(DrawContext& context) override;
    void mouse(DrawContext& context, GuiPoint where) override;
    bool isDirty() const override;
    using GuiView::onWheel;
    bool onWheel(float distance);
    bool onDrop(DrawContext& context, const char* const* files, int count, int type, GuiPoint where) override;

    // Gives the frame and its same window a new size, to be drawn in full;
    // false (nothing changed) when the window cannot take it.
    bool resize(int width, int height);
    // Draws everything now on the frame's window.
    void drawNow();
    // Handles queued window events, then redraws what is dirty once the frame has been drawn in full.
    void idle();

    void setModalView(GuiView* view) { modalView_ = view; }
    GuiView* modalView() const { return modalView_; }
    void setFocusView(GuiView* view) { focusView_ = view; }
    GuiView* focusView() const { return focusView_; }
    // Commits a text edit in progress, if any.
    void endTextEdit();
    GuiView* hoverView() const { return hoverView_; }

    void beginEdit(int tag);
    void endEdit(int tag);
    void pumpIdle();

    // How many device pixels one pixel of the 1x picture covers: views are
    // placed in device pixels already; text takes its height from this.
    void setScale(double scale) { scale_ = scale; }
    double scale() const { return scale_; }

    bool isOpen() const;
    GuiWindow* window() const { return window_.get(); }
    GuiFrameOwner* owner() const { return owner_; }

private:
    void onPaint() override;
    void onMouseDown(GuiPoint where, int buttons) override;
    void onWheelEvent(float distance) override;
    // True for a left press close in time and place to the last one.
    bool isDoubleClick(GuiPoint where, int buttons);
    bool handleDoubleClick(DrawContext& context, GuiPoint where);
    void onMouseMove(GuiPoint where) override;
    void onKey(const GuiKeyEvent& key) override;
    void onFocusLost() override;
    void onWindowDestroyed() override;

    GuiFrameOwner* owner_;
    GuiBitmap* background_ = nullptr;
    std::vector<GuiView*> views_;
    GuiView* modalView_ = nullptr;
    GuiView* focusView_ = nullptr;
    bool firstDrawPending_ = true;
    bool open_ = true;
    bool inMouse_ = false;
    static constexpr int kDoubleClickMs = 400;
    static constexpr int kDoubleClickSlop = 4; // pixels at 1x
    int64_t lastPressMs_ = -1;
    GuiPoint lastPress_;
    GuiView* hoverView_ = nullptr; // the view last under the pointer
    double scale_ = 1.0;
    std::unique_ptr<GuiWindow> window_;
};

} // namespace grelmond
