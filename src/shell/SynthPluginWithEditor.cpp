#include "shell/SynthPluginWithEditor.h"

#include "editor/PluginEditor.h"

#include <new>

namespace grelmond {

SynthPluginWithEditor::SynthPluginWithEditor(vst::AudioMasterCallback hostCallback) : SynthPlugin(hostCallback)
{
    // The editor registers itself with the plug-in, which then owns it.
    new (std::nothrow) PluginEditor(this);
}

SynthPluginWithEditor::~SynthPluginWithEditor() = default;

void SynthPluginWithEditor::setParameter(vst::VstInt32 index, float value)
{
    SynthPlugin::setParameter(index, value);
    if (editor_ != nullptr)
        editor_->setParameter(index, value);
}

} // namespace grelmond
