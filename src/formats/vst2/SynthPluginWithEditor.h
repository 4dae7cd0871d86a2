#pragma once

#include "formats/vst2/SynthPlugin.h"
#include "formats/vst2/Vst2EditorController.h"

namespace grelmond {

class PluginEditor;
class Vst2Editor;

// The plug-in object with its editor window. Every parameter change also
// reaches the editor, whoever made it.
class SynthPluginWithEditor : public SynthPlugin {
public:
    explicit SynthPluginWithEditor(vst::AudioMasterCallback hostCallback);
    ~SynthPluginWithEditor() override;

    // False when the editor could not be created; the entry point then gives
    // the host no instance.
    bool constructed() const { return window_ != nullptr; }
    PluginEditor* editor() const;

private:
    Vst2EditorController controller_{*this};
    Vst2Editor* window_ = nullptr; // owned by the base layer, as its editor
};

} // namespace grelmond
