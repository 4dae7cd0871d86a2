#pragma once

#include "shell/EditorBase.h"

namespace grelmond {

class SynthPluginWithEditor;

// The plug-in's editor. For now it only knows its size, so that hosts can
// lay out a window before it is opened.
class PluginEditor : public EditorBase {
public:
    explicit PluginEditor(SynthPluginWithEditor* plugin);

    vst::VstIntPtr getRect(vst::ERect** rect) override;

private:
    vst::ERect rect_{0, 0, 484, 629}; // top, left, bottom, right: the background picture
};

} // namespace grelmond
