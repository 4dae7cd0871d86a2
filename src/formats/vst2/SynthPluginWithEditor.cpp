#include "formats/vst2/SynthPluginWithEditor.h"

#include "formats/vst2/Vst2Editor.h"

#include <new>

namespace grelmond {

SynthPluginWithEditor::SynthPluginWithEditor(vst::AudioMasterCallback hostCallback) : SynthPlugin(hostCallback)
{
    // The editor registers itself with the base layer, which then owns it.
    window_ = new (std::nothrow) Vst2Editor(this, controller_);
    if (window_ != nullptr)
        instrument().setChangeReceiver(&window_->editor());
}

SynthPluginWithEditor::~SynthPluginWithEditor() { instrument().setChangeReceiver(nullptr); }

PluginEditor* SynthPluginWithEditor::editor() const { return window_ != nullptr ? &window_->editor() : nullptr; }

} // namespace grelmond
