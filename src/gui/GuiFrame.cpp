#include "gui/GuiFrame.h"

#include "gui/DrawContext.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiFrameOwner.h"
#include "gui/image/ImageWindow.h"
#ifdef _WIN32
#include "gui/win32/Win32Window.h"
#else
#include "gui/x11/X11Window.h"
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdint>

namespace grelmond {

namespace {
constexpr size_t kViewListStep = 10;

std::unique_ptr<GuiWindow> makeWindow(const GuiRect& size, void* parentWindow)
{
    if (!parentWindow)
        return std::make_unique<ImageWindow>(size.width(), size.height());
#ifdef _WIN32
    return Win32Window::create(parentWindow, size.width(), size.height());
#else
    return X11Window::create(reinterpret_cast<uintptr_t>(parentWindow), size.width(), size.height());
#endif
}
} // namespace

GuiFrame::GuiFrame(const GuiRect& size, void* parentWindow, GuiFrameOwner* owner)
    : GuiFrame(size, makeWindow(size, parentWindow), owner)
{
}

GuiFrame::GuiFrame(const GuiRect& size, std::unique_ptr<GuiWindow> window, GuiFrameOwner* owner)
    : GuiView(size), owner_(owner), window_(std::move(window))
{
    views_.reserve(kViewListStep);
    if (window_)
        window_->setEvents(this);
    open_ = window_ && window_->isOpen();
}

GuiFrame::~GuiFrame()
{
    focusView_ = nullptr;
    modalView_ = nullptr;
    std::vector<GuiView*> views;
    views.swap(views_);
    for (GuiView* v : views)
        v->release();
    if (background_)
        background_->release();
    if (window_)
        window_->setEvents(nullptr);
    window_.reset();
}

void GuiFrame::setBackground(GuiBitmap* bitmap)
{
    holdBitmap(background_, bitmap);
    setDirty(true);
}

void GuiFrame::addView(GuiView* view)
{
    if (!view)
        return;
    if (views_.size() == views_.capacity())
        views_.reserve(views_.capacity() + kViewListStep);
    views_.push_back(view);
    view->setParentFrame(this);
}

bool GuiFrame::removeView(GuiView* view, bool releaseIt)
{
    auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end())
        return false;
    views_.erase(it);
    if (focusView_ == view)
        focusView_ = nullptr;
    if (hoverView_ == view)
        hoverView_ = nullptr;
    if (modalView_ == view)
        modalView_ = nullptr;
    if (releaseIt)
        view->release();
    return true;
}

bool GuiFrame::containsView(const GuiView* view) const
{
    return std::find(views_.begin(), views_.end(), view) != views_.end();
}

GuiView* GuiFrame::viewAt(int index) const
{
    return index >= 0 && index < viewCount() ? views_[size_t(index)] : nullptr;
}

GuiView* GuiFrame::viewAt(GuiPoint where) const
{
    for (auto it = views_.rbegin(); it != views_.rend(); ++it)
        if ((*it)->mouseEnabled() && (*it)->mouseRect().contains(where))
            return *it;
    return nullptr;
}

void GuiFrame::draw(DrawContext& context)
{
    if (background_)
        background_->draw(context, {0, 0, background_->width(), background_->height()});
    for (GuiView* v : views_) {
        const bool wasDirty = v->isDirty();
        v->draw(context);
        v->setDirty(wasDirty);
    }
    if (modalView_)
        modalView_->draw(context);
    setDirty(false);
}

void GuiFrame::mouse(DrawContext& context, GuiPoint where)
{
    endTextEdit();
    if (modalView_) {
        if (modalView_->mouseRect().contains(where))
            modalView_->mouse(context, where);
        else
            modalView_->mouseOutside(context, where);
        return;
    }
    if (GuiView* v = viewAt(where))
        v->mouse(context, where);
}

bool GuiFrame::isDirty() const
{
    if (GuiView::isDirty() || (modalView_ && modalView_->isDirty()))
        return true;
    return std::any_of(views_.begin(), views_.end(), [](const GuiView* v) { return v->isDirty(); });
}

bool GuiFrame::onWheel(float distance)
{
    if (!isOpen())
        return false;
    DrawContext context(window_->surface(), window_.get(), this);
    const GuiPoint where = context.getMouseLocation();
    GuiView* v = modalView_ ? (modalView_->mouseRect().contains(where) ? modalView_ : nullptr) : viewAt(where);
    const bool taken = v && v->onWheel(context, where, distance);
    window_->flush();
    return taken;
}

bool GuiFrame::onDrop(DrawContext& context, const char* const* files, int count, int type, GuiPoint where)
{
    for (auto it = views_.rbegin(); it != views_.rend(); ++it)
        if ((*it)->mouseRect().contains(where) && (*it)->onDrop(context, files, count, type, where))
            return true;
    return false;
}

bool GuiFrame::resize(int width, int height)
{
    if (!isOpen() || !window_->resize(width, height))
        return false;
    setSize({0, 0, width, height});
    setDirty(true);
    return true;
}

void GuiFrame::drawNow()
{
    if (!isOpen())
        return;
    DrawContext context(window_->surface(), window_.get(), this);
    draw(context);
    firstDrawPending_ = false;
    window_->flush();
}

void GuiFrame::idle()
{
    if (!window_)
        return;
    window_->processEvents();
    if (firstDrawPending_ || !isOpen() || !isDirty())
        return;
    DrawContext context(window_->surface(), window_.get(), this);
    if (GuiView::isDirty()) // everything, the modal view last (what a closed menu covered, too)
        draw(context);
    else if (modalView_)
        modalView_->update(context);
    else
        for (GuiView* v : views_)
            v->update(context);
    window_->flush();
}

void GuiFrame::endTextEdit()
{
    if (!focusView_ || !window_)
        return;
    DrawContext context(window_->surface(), window_.get(), this);
    focusView_->releaseFocus(context);
    focusView_ = nullptr;
    window_->flush();
}

void GuiFrame::beginEdit(int tag)
{
    if (owner_)
        owner_->beginEdit(tag);
}

void GuiFrame::endEdit(int tag)
{
    if (owner_)
        owner_->endEdit(tag);
}

void GuiFrame::pumpIdle()
{
    if (window_) {
        window_->flush(); // what the tracking control drew becomes visible
        window_->processEvents();
    }
    if (owner_)
        owner_->pumpIdle();
}

bool GuiFrame::isOpen() const { return open_ && window_ && window_->isOpen(); }

void GuiFrame::onPaint()
{
    drawNow();
}

void GuiFrame::onMouseDown(GuiPoint where, int buttons)
{
    // Presses that arrive while a control tracks the mouse belong to that gesture.
    if (inMouse_ || !isOpen())
        return;
    inMouse_ = true;
    DrawContext context(window_->surface(), window_.get(), this);
    context.setPressButtons(buttons);
    if (!isDoubleClick(where, buttons) || !handleDoubleClick(context, where))
        mouse(context, where);
    inMouse_ = false;
    if (window_)
        window_->flush();
}

bool GuiFrame::isDoubleClick(GuiPoint where, int buttons)
{
    const int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    const int slop = int(std::lround(kDoubleClickSlop * scale_));
    const bool second = buttons == kMouseLeft && lastPressMs_ >= 0 && now - lastPressMs_ <= kDoubleClickMs &&
                        std::abs(where.x - lastPress_.x) <= slop && std::abs(where.y - lastPress_.y) <= slop;
    // A third press starts over rather than making another double-click.
    lastPressMs_ = second || buttons != kMouseLeft ? -1 : now;
    lastPress_ = where;
    return second;
}

bool GuiFrame::handleDoubleClick(DrawContext& context, GuiPoint where)
{
    endTextEdit();
    if (modalView_)
        return false;
    GuiView* v = viewAt(where);
    return v != nullptr && v->onDoubleClick(context);
}

void GuiFrame::onWheelEvent(float distance)
{
    if (!inMouse_)
        onWheel(distance);
}

void GuiFrame::onKey(const GuiKeyEvent& key)
{
    if (!isOpen())
        return;
    if (!focusView_ && !modalView_) {
        if (owner_)
            owner_->keyOver(hoverView_, key);
        return;
    }
    DrawContext context(window_->surface(), window_.get(), this);
    if (modalView_)
        modalView_->onKey(context, key);
    else
        focusView_->onKey(context, key);
    if (window_)
        window_->flush();
}

void GuiFrame::onMouseMove(GuiPoint where)
{
    if (inMouse_ || !isOpen())
        return;
    if (modalView_) {
        DrawContext context(window_->surface(), window_.get(), this);
        modalView_->mouseMoved(context, where);
        return;
    }
    GuiView* over = viewAt(where);
    if (over == hoverView_)
        return;
    hoverView_ = over;
    if (owner_)
        owner_->pointerOver(over);
}

void GuiFrame::onFocusLost()
{
    if (modalView_ && isOpen()) {
        DrawContext context(window_->surface(), window_.get(), this);
        modalView_->releaseFocus(context);
    }
    endTextEdit();
}

void GuiFrame::onWindowDestroyed() { open_ = false; }

} // namespace grelmond
