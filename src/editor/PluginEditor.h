#pragma once

#include "editor/EditorBitmaps.h"
#include "editor/EditorControls.h"
#include "editor/PendingParameters.h"
#include "gui/ControlListener.h"
#include "core/ChangeReceiver.h"
#include "gui/GuiFrameOwner.h"

#include <atomic>
#include <cstdint>

namespace grelmond {

class EditorController;
class GuiBitmap;
class GuiFrame;

// The plug-in's editor window: a fixed picture with a control for every
// parameter, program selection and naming, and patch and bank files named in
// a text field. Controls report to the controller as edits; every parameter
// change of the instrument comes back through parameterChanged and is shown
// at the next idle.
//
// All operations run on the host's user-interface thread, except
// parameterChanged, which may come from any thread.
class PluginEditor : public ChangeReceiver, public ControlListener, public GuiFrameOwner {
public:
    explicit PluginEditor(EditorController& controller);
    virtual ~PluginEditor();
    PluginEditor(const PluginEditor&) = delete;
    PluginEditor& operator=(const PluginEditor&) = delete;

    // parentWindow is the host's window (X11 id or HWND); null opens a
    // headless window that draws into an image. False when no window could
    // be shown.
    bool open(void* parentWindow);
    void close();
    void idle();
    virtual void update() {}
    void requestUpdate() { updateRequested_.store(true, std::memory_order_relaxed); }
    void setKnobMode(int mode);
    bool onWheel(float distance);
    void parameterChanged(int index, float value) override;
    // Redraws the whole window now.
    void draw();
    void pumpIdle() override;

    void valueChanged(DrawContext& context, GuiControl* control) override;
    void beginEdit(int tag) override;
    void endEdit(int tag) override;

    bool isOpen() const { return frame_ != nullptr; }
    GuiFrame* frame() const { return frame_; }
    const EditorControls& controls() const { return controls_; }
    void* parentWindow() const { return parentWindow_; }

private:
    // The value a parameter's control shows.
    float shownValue(int index);
    void applyPendingParameters();
    void showParameter(int index, float value);
    void showCurrentProgram();
    void runCommand(int tag, float value);
    void stepProgram(float position);
    void loadFile(bool bank);
    void saveFile(bool bank);
    void renameProgram();
    void showStatus(const char* message);

    EditorController& controller_;
    void* parentWindow_ = nullptr;
    GuiBitmap* background_ = nullptr;
    GuiFrame* frame_ = nullptr;
    EditorBitmaps bitmaps_;
    EditorControls controls_;
    PendingParameters pending_;
    std::atomic<bool> updateRequested_{false};
    bool inIdle_ = false;
    int64_t lastPumpMs_ = 0;
};

} // namespace grelmond
