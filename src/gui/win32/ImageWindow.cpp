#include "gui/image/ImageWindow.h"

#include "gui/win32/GdiSurface.h"

#include <algorithm>

namespace grelmond {

ImageWindow::ImageWindow(int width, int height, bool exposed)
    : width_(std::max(1, width)), height_(std::max(1, height)),
      surface_(GdiSurface::createBuffer(width_, height_, false)), paintPending_(exposed)
{
}

ImageWindow::~ImageWindow() { GdiSurface::destroy(surface_); }

bool ImageWindow::resize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    GdiSurface* pixels = GdiSurface::createBuffer(width, height, false);
    if (!pixels)
        return false;
    GdiSurface::destroy(surface_);
    surface_ = pixels;
    width_ = width;
    height_ = height;
    paintPending_ = true; // a resized window is exposed again
    return true;
}

int ImageWindow::mouseButtons() { return step_ < script_.size() ? script_[step_].buttons : rest_.buttons; }

GuiPoint ImageWindow::mouseLocation()
{
    if (step_ < script_.size()) {
        ++step_;
        if (step_ < script_.size())
            return script_[step_].where;
        rest_ = {script_.back().where, 0};
        script_.clear();
        step_ = 0;
    }
    return rest_.where;
}

bool ImageWindow::waitDoubleClick()
{
    const bool result = doubleClick_;
    doubleClick_ = false;
    return result;
}

void ImageWindow::processEvents()
{
    if (paintPending_ && events_) {
        paintPending_ = false;
        events_->onPaint();
    }
}

void ImageWindow::flush() { GdiFlush(); }

void ImageWindow::setMouseScript(std::vector<MouseStep> steps)
{
    script_ = std::move(steps);
    step_ = 0;
}

void ImageWindow::setMouse(GuiPoint where, int buttons)
{
    script_.clear();
    step_ = 0;
    rest_ = {where, buttons};
}

void ImageWindow::press(std::vector<MouseStep> steps)
{
    if (steps.empty())
        return;
    const MouseStep first = steps.front();
    setMouseScript(std::move(steps));
    if (events_)
        events_->onMouseDown(first.where, first.buttons);
}

void ImageWindow::moveTo(GuiPoint where)
{
    setMouse(where, 0);
    if (events_)
        events_->onMouseMove(where);
}

void ImageWindow::wheel(GuiPoint where, float distance, int buttons)
{
    setMouse(where, buttons);
    if (events_)
        events_->onWheelEvent(distance);
}

void ImageWindow::sendKey(const GuiKeyEvent& key)
{
    if (events_)
        events_->onKey(key);
}

void ImageWindow::typeText(const std::string& text)
{
    for (unsigned char c : text)
        sendKey({GuiKey::Character, c, false});
}

void ImageWindow::loseFocus()
{
    hasKeyboardFocus_ = false;
    if (events_)
        events_->onFocusLost();
}

GuiColor ImageWindow::pixel(int x, int y)
{
    if (!surface_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    GdiFlush();
    const uint32_t p = static_cast<const uint32_t*>(surface_->bits)[size_t(y) * size_t(width_) + size_t(x)];
    return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), 0};
}

// Pictures of the headless window are a Linux tool's business.
bool ImageWindow::writePng(const std::string&) { return false; }

} // namespace grelmond
