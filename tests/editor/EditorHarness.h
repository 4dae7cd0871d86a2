#pragma once

// A real plug-in instance with its editor opened headless, a host callback
// that records what the plug-in tells the host, and a scripted pointer.

#include "editor/EditorLayout.h"
#include "editor/PluginEditor.h"
#include "gui/GuiControl.h"
#include "gui/image/ImageWindow.h"
#include "shell/SynthPluginWithEditor.h"

#include <memory>
#include <string>
#include <vector>

namespace editortest {

using namespace grelmond;

struct HostCall {
    int opcode;
    int index;
    float opt;
};

// Reached through AEffect::user, so each instance has its own.
struct RecordingHost {
    std::vector<HostCall> calls;
    int count(int opcode, int index) const;
    // Indices of the calls with this opcode, in order.
    std::vector<int> indices(int opcode) const;
};

class EditorHarness {
public:
    // installFolder, when given, replaces the plug-in's data folder (the
    // remembered-folder file is written there).
    explicit EditorHarness(const std::string& installFolder = {});
    ~EditorHarness();

    // Opens the editor without a screen and paints it once.
    void open();
    void close() { editor->close(); }
    void idle() { editor->idle(); }
    ImageWindow& window() const;

    // The rectangle of a tag's control (not its value display).
    static GuiRect rectOf(int tag);
    static GuiPoint centreOf(int tag);
    // A left click at the control's centre, released at once.
    void click(int tag);
    // Left button pressed at `from`, moved through `path`, released.
    void drag(GuiPoint from, const std::vector<GuiPoint>& path);
    // Clicks a text field, replaces its text and presses Enter.
    void typeInto(int tag, const std::string& text);

    GuiControl* control(int tag) const { return editor->controls().control(tag); }
    std::string displayText(int parameter) const;
    std::string statusText() const;
    std::string programNameText() const;
    std::string programNumberText() const;
    vst::AEffect* effect() const { return plugin->getAeffect(); }

    RecordingHost host;
    std::unique_ptr<SynthPluginWithEditor> plugin;
    PluginEditor* editor = nullptr;
};

} // namespace editortest
