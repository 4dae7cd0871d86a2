#include "editor/PluginEditor.h"

#include "editor/EditorLayout.h"
#include "editor/ProgramSteps.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiFrame.h"
#include "gui/KnobMode.h"
#include "gui/PopupMenu.h"
#include "gui/ScaledBitmap.h"
#include "gui/ScreenScale.h"
#include "gui/TextField.h"
#include "params/ParameterTable.h"
#include "core/EditorController.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>

namespace grelmond {

using namespace editor;

namespace {

int64_t tickCountMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool isOscillatorVolume(int index) { return index == 3 || index == 7 || index == 11; }

// Tags that belong to no control.
bool isUnboundTag(int tag) { return tag < 0 || tag > kLastTag || (tag >= 25 && tag <= 27) || tag == kUnusedTag; }

} // namespace

PluginEditor::PluginEditor(EditorController& controller)
    : controller_(controller)
{
    for (int index = 0; index < PendingParameters::kCount; ++index)
        pending_.seed(index, controller_.value(index));
}

PluginEditor::~PluginEditor()
{
    close();
    if (background_ != nullptr)
        background_->release();
}

bool PluginEditor::open(void* parentWindow)
{
    close(); // a host that opens twice gets one window
    parentWindow_ = parentWindow;
    requestUpdate();
    loadPictures();
    frame_ = new GuiFrame({0, 0, width(), height()}, parentWindow, this);
    fillFrame();
    if (!frame_->isOpen()) {
        close(); // no window to show in (no display, or the host's window is gone)
        return false;
    }
    return true;
}

void PluginEditor::close()
{
    if (frame_ == nullptr)
        return;
    emptyFrame();
    frame_->release();
    frame_ = nullptr;
    bitmaps_.releaseAll();
}

void PluginEditor::loadPictures()
{
    const double zoom = scale();
    bitmaps_.loadAll(zoom);
    if (background_ == nullptr || background_->width() != width()) {
        if (background_ != nullptr)
            background_->release();
        background_ = ScaledBitmap::load(kBackgroundBitmap, zoom);
    }
}

void PluginEditor::fillFrame()
{
    const double zoom = scale();
    frame_->setScale(zoom);
    frame_->setBackground(background_);
    // Every value is read afresh now; what was pending is included.
    pending_.take();
    controls_.create(*frame_, bitmaps_, this, controller_, [this](int index) { return shownValue(index); }, zoom);
    addPanelAreas();
    controls_.showDelayAsNotes(param::kLeftDelayTime, controller_.value(kLeftDelaySync) != 0.0f);
    controls_.showDelayAsNotes(param::kRightDelayTime, controller_.value(kRightDelaySync) != 0.0f);
    showCurrentProgram();
}

void PluginEditor::emptyFrame()
{
    if (menu_ != nullptr)
        menu_->dismiss();
    removePanelAreas();
    hoverView_ = nullptr;
    keyboardTaken_ = false;
    controls_.destroy(*frame_);
}

void PluginEditor::idle()
{
    if (inIdle_)
        return;
    if (updateRequested_.exchange(false, std::memory_order_relaxed))
        update();
    if (pendingScale_ != 0.0)
        rescaleNow();
    applyPendingParameters();
    if (frame_ != nullptr)
        frame_->idle();
}

void PluginEditor::setKnobMode(int mode) { grelmond::setKnobMode(mode); }

bool PluginEditor::onWheel(float distance) { return frame_ != nullptr && frame_->onWheel(distance); }

void PluginEditor::draw()
{
    if (frame_ != nullptr)
        frame_->drawNow();
}

void PluginEditor::pumpIdle()
{
    int64_t now = tickCountMs();
    idle();
    if (now < lastPumpMs_ + 100) {
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
        now += 4;
        if (now < lastPumpMs_ + 50)
            return;
    }
    lastPumpMs_ = now;
    // The host may call our idle from its own; that nested idle does nothing.
    inIdle_ = true;
    controller_.hostIdle();
    inIdle_ = false;
}

// Instrument to editor.

void PluginEditor::parameterChanged(int index, float value)
{
    if (!isParameterId(index))
        return;
    pending_.record(index, value);
    requestUpdate();
}

void PluginEditor::applyPendingParameters()
{
    const uint64_t pending = pending_.take();
    if (pending == 0 || frame_ == nullptr)
        return;
    showCurrentProgram();
    for (int index = 0; index < PendingParameters::kCount; ++index)
        if (pending & (uint64_t(1) << index))
            showParameter(index, pending_.value(index));
    if (hoverView_ != nullptr)
        showHover();
}

// Scale.

double PluginEditor::scale()
{
    if (scale_ == 0.0) {
        const int chosen = controller_.rememberedZoom();
        scale_ = hostScale_ != 0.0 ? hostScale_ : chosen > 0 ? chosen / 100.0 : ScreenScale::of(parentWindow_);
    }
    return scale_;
}

void PluginEditor::setHostScale(double scale)
{
    hostScale_ = scale > 0.0 ? std::clamp(scale, 1.0, 2.0) : 0.0;
    // Work out the new scale but keep the one drawn, so an open editor is rebuilt.
    const double drawn = scale_;
    scale_ = 0.0;
    const double target = this->scale();
    scale_ = drawn;
    applyScale(target);
}

void PluginEditor::chooseScale(double scale)
{
    scale = std::clamp(scale, 1.0, 2.0);
    controller_.rememberZoom(int(std::lround(scale * 100.0)));
    // A choice made in the menu is obeyed even where the host set a factor
    // (Ardour always passes 1.0); the host's next factor, if it sends one, wins.
    applyScale(scale);
}

void PluginEditor::applyScale(double scale)
{
    if (frame_ == nullptr) {
        scale_ = scale;
        return;
    }
    // The window is rebuilt at the next idle, never inside one of its own events.
    if (scale != scale_)
        pendingScale_ = scale;
}

void PluginEditor::rescaleNow()
{
    const double drawn = scale_;
    const bool askHost = pendingAsksHost_;
    scale_ = pendingScale_;
    pendingScale_ = 0.0;
    pendingAsksHost_ = true;
    if (frame_ == nullptr)
        return;
    if (!rebuildInPlace()) {
        scale_ = drawn; // the window keeps its size, so the picture keeps its scale
        return;
    }
    previousScale_ = drawn;
    if (askHost)
        controller_.resizeEditor(width(), height()); // the host may call back, even close the editor
}

bool PluginEditor::rebuildInPlace()
{
    frame_->endTextEdit(); // what was typed is kept, as a click elsewhere would
    const bool hadKeyboard = keyboardTaken_;
    if (!frame_->resize(width(), height()))
        return false;
    const std::string fileName = controls_.fileNameField() ? controls_.fileNameField()->getText() : std::string();
    const std::string status = controls_.statusLine() ? controls_.statusLine()->getText() : std::string();
    emptyFrame();
    if (hadKeyboard)
        frame_->window()->releaseKeyboardFocus(); // no view is under the pointer until it moves
    bitmaps_.releaseAll();
    loadPictures();
    fillFrame();
    if (TextField* field = controls_.fileNameField())
        field->setText(fileName);
    if (TextField* line = controls_.statusLine())
        line->setText(status);
    return true;
}

void PluginEditor::hostKeptSize()
{
    if (frame_ == nullptr || previousScale_ == 0.0 || previousScale_ == scale_)
        return;
    // Back to the scale that fits the host's window, without asking it again.
    pendingScale_ = previousScale_;
    pendingAsksHost_ = false;
}

float PluginEditor::shownValue(int index) { return controller_.value(index); }

void PluginEditor::showParameter(int index, float value)
{
    if (GuiControl* control = controls_.control(index))
        control->setValue(shownValue(index));
    ValueDisplay* display = controls_.display(index);
    if (display != nullptr)
        display->setValue(controller_.shownValue(index));
    if (index == kLeftDelaySync)
        controls_.showDelayAsNotes(param::kLeftDelayTime, value != 0.0f);
    else if (index == kRightDelaySync)
        controls_.showDelayAsNotes(param::kRightDelayTime, value != 0.0f);
    else if (index == kProcFunction && display != nullptr)
        display->setDirty(true); // redrawn even when the name stays the same
    else if (isOscillatorVolume(index))
        if (ValueDisplay* unison = controls_.display(param::kTotalOscillators))
            unison->setDirty(true); // its count depends on the sounding oscillators
}

void PluginEditor::showCurrentProgram()
{
    const float position = controller_.programPosition();
    if (TextField* name = controls_.programNameField())
        name->setText(controller_.programName(programIndexOf(position)));
    if (ValueDisplay* number = controls_.programNumber())
        number->setValue(position);
}

// Editor to instrument.

void PluginEditor::valueChanged(DrawContext& context, GuiControl* control)
{
    const int tag = control->getTag();
    if (isUnboundTag(tag))
        return;
    const float value = control->getValue();
    if (isParameterId(tag)) {
        controller_.edit(tag, value);
    } else {
        // Commands are the editor's own, never parameters of the host.
        runCommand(tag, value);
        requestUpdate();
    }
    if (control->isDirty())
        control->update(context);
    if (control == hoverView_)
        showHover(); // the status line follows a drag or the wheel
}

void PluginEditor::beginEdit(int tag)
{
    if (isParameterId(tag))
        controller_.beginEdit(tag);
}

void PluginEditor::endEdit(int tag)
{
    if (isParameterId(tag))
        controller_.endEdit(tag);
}

} // namespace grelmond
