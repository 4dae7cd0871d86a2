#include "editor/PluginEditor.h"

#include "editor/EditorLayout.h"
#include "editor/ProgramSteps.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiFrame.h"
#include "gui/KnobMode.h"
#include "gui/TextField.h"
#include "params/ParameterTable.h"
#include "core/EditorController.h"

#include <chrono>
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
    : controller_(controller), background_(new GuiBitmap(kBackgroundBitmap))
{
    for (int index = 0; index < PendingParameters::kCount; ++index)
        pending_.seed(index, controller_.value(index));
}

PluginEditor::~PluginEditor()
{
    close();
    background_->release();
}

bool PluginEditor::open(void* parentWindow)
{
    close(); // a host that opens twice gets one window
    parentWindow_ = parentWindow;
    requestUpdate();
    bitmaps_.loadAll();
    frame_ = new GuiFrame({0, 0, kWidth, kHeight}, parentWindow, this);
    frame_->setBackground(background_);

    // Every value is read afresh now; what was pending is included.
    pending_.take();
    controls_.create(*frame_, bitmaps_, this, controller_, [this](int index) { return shownValue(index); });
    controls_.showDelayAsNotes(param::kLeftDelayTime, controller_.value(kLeftDelaySync) != 0.0f);
    controls_.showDelayAsNotes(param::kRightDelayTime, controller_.value(kRightDelaySync) != 0.0f);
    showCurrentProgram();

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
    controls_.destroy(*frame_);
    frame_->release();
    frame_ = nullptr;
    bitmaps_.releaseAll();
}

void PluginEditor::idle()
{
    if (inIdle_)
        return;
    if (updateRequested_.exchange(false, std::memory_order_relaxed))
        update();
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
