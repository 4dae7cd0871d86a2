#pragma once

#include "editor/EditorBitmaps.h"
#include "editor/EditorControls.h"
#include "editor/PendingParameters.h"
#include "gui/ControlListener.h"
#include "core/ChangeReceiver.h"
#include "core/FileCommand.h"
#include "gui/GuiFrameOwner.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace grelmond {

class ClickArea;
class EditorController;
class GuiBitmap;
class GuiFrame;
class PopupMenu;

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
    void pointerOver(GuiView* view) override;
    bool keyOver(GuiView* view, const GuiKeyEvent& key) override;

    // The menus the panel offers: the zoom (a click on the logo) and the program
    // browser (a click on the program name or number); anchor in device pixels.
    void openZoomMenu(GuiPoint anchor);
    void openProgramBrowser(GuiPoint anchor);
    PopupMenu* openMenu() const { return menu_; }
    // What the status line shows while the pointer rests on a parameter's control:
    // its name and value as the host's display texts give them.
    std::string hoverText(int parameter);
    // A file command's outcome, now or (when the controller passes commands
    // on) later: the status line shows message, and a load that succeeded
    // brings the current program to the controls, the engine and the host.
    void fileAnswered(FileCommand command, bool done, const char* message);
    // The families the factory bank groups its programs in, eight programs each.
    static const char* familyName(int family);
    // The browser's choice that starts renaming the current program.
    static constexpr int kRenameChoice = 1000;

    // The factor the host's format passes (content scale, scale-factor option);
    // it overrides the user's choice and the screen's. 0 forgets it.
    void setHostScale(double scale);
    // The user's choice from the editor's zoom menu; remembered for the next instance.
    void chooseScale(double scale);
    // The host refused the size asked for after a change of zoom: at the next
    // idle the editor goes back to the scale it had, which fits the host's window.
    void hostKeptSize();
    // The scale the editor draws at: the host's, else the user's remembered
    // choice, else the screen's; between 1 and 2.
    double scale();
    // The editor's size in device pixels at its scale.
    int width() { return editor::scaledRect({0, 0, editor::kWidth, editor::kHeight}, scale()).right; }
    int height() { return editor::scaledRect({0, 0, editor::kWidth, editor::kHeight}, scale()).bottom; }

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
    void applyScale(double scale);
    void rescaleNow();
    // Redraws the open editor at its scale in the same window, resized to fit;
    // false when the window keeps its size.
    bool rebuildInPlace();
    void loadPictures();
    void fillFrame();
    void emptyFrame();
    void addPanelAreas();
    void removePanelAreas();
    void showMenu(PopupMenu* menu, GuiPoint anchor);
    void programChosen(int choice);
    void startRenaming();
    void showHover();

    EditorController& controller_;
    double hostScale_ = 0.0;
    double scale_ = 0.0;          // 0 until first needed
    double pendingScale_ = 0.0;   // a new scale to redraw at, at the next idle
    bool pendingAsksHost_ = true; // whether that redraw asks the host for the new size
    double previousScale_ = 0.0;  // the scale before the last change
    void* parentWindow_ = nullptr;
    GuiBitmap* background_ = nullptr;
    GuiFrame* frame_ = nullptr;
    EditorBitmaps bitmaps_;
    EditorControls controls_;
    PendingParameters pending_;
    ClickArea* logoArea_ = nullptr;
    ClickArea* programArea_ = nullptr;
    ClickArea* numberArea_ = nullptr;
    PopupMenu* menu_ = nullptr;  // the open menu, held by the frame
    GuiView* hoverView_ = nullptr;
    bool keyboardTaken_ = false; // while the pointer is over the program name
    std::string fileMessage_;    // the last file result, shown when no control is under the pointer
    std::atomic<bool> updateRequested_{false};
    bool inIdle_ = false;
    int64_t lastPumpMs_ = 0;
};

} // namespace grelmond
