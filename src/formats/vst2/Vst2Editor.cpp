#include "formats/vst2/Vst2Editor.h"

#include "editor/EditorLayout.h"

namespace grelmond {

Vst2Editor::Vst2Editor(PluginBase* plugin, EditorController& controller)
    : EditorBase(plugin), editor_(controller),
      rect_{0, 0, static_cast<vst::VstInt16>(editor::kHeight), static_cast<vst::VstInt16>(editor::kWidth)}
{
}

vst::VstIntPtr Vst2Editor::getRect(vst::ERect** rect)
{
    if (rect == nullptr)
        return 0;
    *rect = &rect_;
    return 1;
}

vst::VstIntPtr Vst2Editor::open(void* parentWindow) { return editor_.open(parentWindow) ? 1 : 0; }

vst::VstIntPtr Vst2Editor::setKnobMode(vst::VstIntPtr mode)
{
    editor_.setKnobMode(static_cast<int>(mode));
    return 1;
}

} // namespace grelmond
