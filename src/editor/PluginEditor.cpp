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
#include "platform/InstallFolder.h"
#include "shell/SynthPluginWithEditor.h"
#include "storage/RememberedFolder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>

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

PluginEditor::PluginEditor(SynthPluginWithEditor* plugin)
    : EditorBase(plugin), plugin_(plugin), installFolder_(platform::installFolder())
{
    for (int index = 0; index < PendingParameters::kCount; ++index)
        pending_.seed(index, plugin_->getParameter(index));
}

PluginEditor::~PluginEditor()
{
    close();
    if (background_ != nullptr)
        background_->release();
}

vst::VstIntPtr PluginEditor::getRect(vst::ERect** rect)
{
    if (rect == nullptr)
        return 0;
    rect_.bottom = vst::VstInt16(height());
    rect_.right = vst::VstInt16(width());
    *rect = &rect_;
    return 1;
}

vst::VstIntPtr PluginEditor::open(void* parentWindow)
{
    close(); // a host that opens twice gets one window
    parentWindow_ = parentWindow;
    requestUpdate();
    const double zoom = scale();
    bitmaps_.loadAll(zoom);
    if (background_ == nullptr || background_->width() != width()) {
        if (background_ != nullptr)
            background_->release();
        background_ = ScaledBitmap::load(kBackgroundBitmap, zoom);
    }
    frame_ = new GuiFrame({0, 0, width(), height()}, parentWindow, this);
    frame_->setScale(zoom);
    frame_->setBackground(background_);

    // Every value is read afresh now; what was pending is included.
    pending_.take();
    controls_.create(*frame_, bitmaps_, this, *plugin_, [this](int index) { return shownValue(index); }, zoom);
    addPanelAreas();
    controls_.showDelayAsNotes(param::kLeftDelayTime, plugin_->getParameter(kLeftDelaySync) != 0.0f);
    controls_.showDelayAsNotes(param::kRightDelayTime, plugin_->getParameter(kRightDelaySync) != 0.0f);
    showCurrentProgram();

    if (!frame_->isOpen()) {
        close(); // no window to show in (no display, or the host's window is gone)
        return 0;
    }
    return 1;
}

void PluginEditor::close()
{
    if (frame_ == nullptr)
        return;
    if (menu_ != nullptr)
        menu_->dismiss();
    removePanelAreas();
    hoverView_ = nullptr;
    keyboardTaken_ = false;
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
    if (pendingScale_ != 0.0)
        rescaleNow();
    applyPendingParameters();
    if (frame_ != nullptr)
        frame_->idle();
}

vst::VstIntPtr PluginEditor::setKnobMode(vst::VstIntPtr mode)
{
    grelmond::setKnobMode(static_cast<int>(mode));
    return 1;
}

vst::VstIntPtr PluginEditor::onWheel(float distance)
{
    return frame_ != nullptr && frame_->onWheel(distance) ? 1 : 0;
}

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
    plugin_->masterIdle();
    inIdle_ = false;
}

// Plug-in to editor.

void PluginEditor::setParameter(vst::VstInt32 index, float value)
{
    if (isParameterId(index)) {
        pending_.record(index, value);
        requestUpdate();
        return;
    }
    // Commands run only for the editor's own controls, never for a host that
    // sets an index it was not told of.
    if (commandThread_.load(std::memory_order_relaxed) != std::this_thread::get_id() || frame_ == nullptr)
        return;
    runCommand(index, value);
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
        const std::optional<int> chosen = RememberedFolder(installFolder_).readZoom();
        scale_ = hostScale_ != 0.0 ? hostScale_ : chosen ? *chosen / 100.0 : ScreenScale::of(parentWindow_);
    }
    return scale_;
}

void PluginEditor::setHostScale(double scale)
{
    hostScale_ = scale > 0.0 ? std::clamp(scale, 1.0, 2.0) : 0.0;
    scale_ = 0.0;
    applyScale(this->scale());
}

void PluginEditor::chooseScale(double scale)
{
    scale = std::clamp(scale, 1.0, 2.0);
    RememberedFolder(installFolder_).writeZoom(int(std::lround(scale * 100.0)));
    if (hostScale_ == 0.0)
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
    scale_ = pendingScale_;
    pendingScale_ = 0.0;
    if (frame_ == nullptr)
        return;
    void* parent = parentWindow_;
    const std::string fileName = controls_.fileNameField() ? controls_.fileNameField()->getText() : std::string();
    const std::string status = controls_.statusLine() ? controls_.statusLine()->getText() : std::string();
    close();
    plugin_->sizeWindow(width(), height()); // the host learns the new size and resizes its window
    open(parent);
    if (TextField* field = controls_.fileNameField())
        field->setText(fileName);
    if (TextField* line = controls_.statusLine())
        line->setText(status);
}

float PluginEditor::shownValue(int index) { return plugin_->getParameter(index); }

void PluginEditor::showParameter(int index, float value)
{
    if (GuiControl* control = controls_.control(index))
        control->setValue(shownValue(index));
    ValueDisplay* display = controls_.display(index);
    if (display != nullptr)
        display->setValue(plugin_->shownValue(index));
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
    const float position = plugin_->programs().currentFraction();
    if (TextField* name = controls_.programNameField()) {
        char text[64] = {};
        plugin_->programs().storedName(programIndexOf(position), text);
        name->setText(text);
    }
    if (ValueDisplay* number = controls_.programNumber())
        number->setValue(position);
}

// Editor to plug-in.

void PluginEditor::valueChanged(DrawContext& context, GuiControl* control)
{
    const int tag = control->getTag();
    if (isUnboundTag(tag))
        return;
    const float value = control->getValue();
    if (isParameterId(tag)) {
        plugin_->setParameterAutomated(tag, value);
    } else {
        // Commands pass through the plug-in but are no parameters of the host.
        commandThread_.store(std::this_thread::get_id(), std::memory_order_relaxed);
        plugin_->setParameter(tag, value);
        commandThread_.store(std::thread::id(), std::memory_order_relaxed);
    }
    if (control->isDirty())
        control->update(context);
    if (control == hoverView_)
        showHover(); // the status line follows a drag or the wheel
}

void PluginEditor::beginEdit(int tag)
{
    if (isParameterId(tag))
        plugin_->beginEdit(tag);
}

void PluginEditor::endEdit(int tag)
{
    if (isParameterId(tag))
        plugin_->endEdit(tag);
}

} // namespace grelmond
