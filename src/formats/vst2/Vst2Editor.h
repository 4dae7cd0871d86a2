#pragma once

#include "editor/PluginEditor.h"
#include "formats/vst2/EditorBase.h"

namespace grelmond {

class PluginBase;

// The editor window as the VST 2 base layer's dispatcher drives it: the
// editor opcodes, the ERect and the knob mode. The plug-in owns it.
class Vst2Editor final : public EditorBase {
public:
    Vst2Editor(PluginBase* plugin, EditorController& controller);

    vst::VstIntPtr getRect(vst::ERect** rect) override;
    // parentWindow is the host's window (X11 id or HWND); null opens a
    // headless window that draws into an image.
    vst::VstIntPtr open(void* parentWindow) override;
    void close() override { editor_.close(); }
    void idle() override { editor_.idle(); }
    vst::VstIntPtr setKnobMode(vst::VstIntPtr mode) override;

    PluginEditor& editor() { return editor_; }

private:
    PluginEditor editor_;
    vst::ERect rect_; // valid before the first open, as hosts expect
};

} // namespace grelmond
