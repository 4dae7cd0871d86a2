#pragma once

#include "shell/SynthPlugin.h"

namespace grelmond {

// The plug-in object with its editor window. Every parameter change also
// reaches the editor, whoever made it.
class SynthPluginWithEditor : public SynthPlugin {
public:
    explicit SynthPluginWithEditor(vst::AudioMasterCallback hostCallback);
    ~SynthPluginWithEditor() override;

    void setParameter(vst::VstInt32 index, float value) override;

    // False when the editor could not be created; the entry point then gives
    // the host no instance.
    bool constructed() const { return editor_ != nullptr; }

protected:
    float applyValue(vst::VstInt32 index, float value) override;
};

} // namespace grelmond
