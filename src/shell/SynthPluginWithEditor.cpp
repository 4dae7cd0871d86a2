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
    // Values reach the editor through applyValue; other indices are its commands.
    if (editor_ != nullptr && !isParameterId(index))
        editor_->setParameter(index, value);
}

float SynthPluginWithEditor::applyValue(vst::VstInt32 index, float value)
{
    const float stored = SynthPlugin::applyValue(index, value);
    if (editor_ != nullptr)
        editor_->setParameter(index, value);
    return stored;
}

} // namespace grelmond
