#pragma once

// A real plug-in instance with its editor opened headless, a host callback
// that records what the plug-in tells the host, and a scripted pointer.

#include "editor/PluginEditor.h"
#include "gui/GuiFrame.h"
#include "gui/TextField.h"
#include "gui/image/ImageWindow.h"
#include "formats/vst2/SynthPluginWithEditor.h"

#include <memory>
#include <string>
#include <vector>

namespace editortest {

using namespace grelmond;

struct HostCall {
    int opcode;
    int index;
};

class EditorHarness {
public:
    // installFolder, when given, replaces the plug-in's data folder (the
    // remembered-folder file is written there).
    explicit EditorHarness(const std::string& installFolder = {});
    ~EditorHarness() { plugin->getAeffect()->user = nullptr; }

    // Opens the editor without a screen and paints it once.
    void open()
    {
        editor->open(nullptr);
        editor->idle();
    }
    void idle() { editor->idle(); }
    ImageWindow& window() const { return dynamic_cast<ImageWindow&>(*editor->frame()->window()); }
    void hostSets(int index, float value) { plugin->getAeffect()->setParameter(plugin->getAeffect(), index, value); }
    int hostCalls(int opcode, int index) const;

    // The rectangle of a tag's control (not its value display).
    static GuiRect rectOf(int tag);
    static GuiPoint centreOf(int tag);
    // Left button pressed at `from`, moved through `path`, released; a click without a path.
    void drag(GuiPoint from, const std::vector<GuiPoint>& path = {});
    void click(int tag) { drag(centreOf(tag)); }
    // Clicks a text field, replaces its text and presses Enter.
    void typeInto(int tag, const std::string& text);

    GuiControl* control(int tag) const { return editor->controls().control(tag); }
    std::string displayText(int parameter) const { return editor->controls().display(parameter)->text(); }
    std::string statusText() const { return editor->controls().statusLine()->getText(); }
    std::string nameFieldText() const { return editor->controls().programNameField()->getText(); }
    std::string programNumberText() const { return editor->controls().programNumber()->text(); }

    std::vector<HostCall> calls;
    std::unique_ptr<SynthPluginWithEditor> plugin;
    PluginEditor* editor = nullptr;
};

} // namespace editortest
