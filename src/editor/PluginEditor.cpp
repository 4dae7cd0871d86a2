#include "editor/PluginEditor.h"

#include "shell/SynthPluginWithEditor.h"

namespace grelmond {

PluginEditor::PluginEditor(SynthPluginWithEditor* plugin) : EditorBase(plugin) {}

vst::VstIntPtr PluginEditor::getRect(vst::ERect** rect)
{
    if (rect == nullptr)
        return 0;
    *rect = &rect_;
    return 1;
}

} // namespace grelmond
