#include "gui/image/ImageWindow.h"

#include <algorithm>

namespace grelmond {

ImageWindow::ImageWindow(int width, int height, bool exposed)
    : width_(std::max(1, width)), height_(std::max(1, height)),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_)), paintPending_(exposed)
{
}

ImageWindow::~ImageWindow() { cairo_surface_destroy(surface_); }

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

bool ImageWindow::resize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    cairo_surface_t* pixels = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(pixels) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pixels);
        return false;
    }
    cairo_surface_destroy(surface_);
    surface_ = pixels;
    width_ = width;
    height_ = height;
    paintPending_ = true; // a resized window is exposed again
    return true;
}

void ImageWindow::flush() { cairo_surface_flush(surface_); }

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

void ImageWindow::sendKey(const GuiKeyEvent& key)
{
    if (events_)
        events_->onKey(key);
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
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    cairo_surface_flush(surface_);
    const uint8_t* row = cairo_image_surface_get_data(surface_) + size_t(y) * cairo_image_surface_get_stride(surface_);
    const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
    return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), 0};
}

bool ImageWindow::writePng(const std::string& path)
{
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace grelmond
