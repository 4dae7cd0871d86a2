#pragma once

#include "formats/vst2/VstAbi.h"

namespace grelmond {

class PluginBase;

// What the base layer's dispatcher needs of an editor. Constructing one
// registers it as the plug-in's editor; the plug-in then owns and deletes it.
// All operations run on the host's user-interface thread, except setParameter,
// which follows the plug-in's setParameter onto whichever thread called it.
class EditorBase {
public:
    explicit EditorBase(PluginBase* plugin);
    virtual ~EditorBase() = default;

    EditorBase(const EditorBase&) = delete;
    EditorBase& operator=(const EditorBase&) = delete;

    // Stores a pointer to the editor rectangle in *rect; a valid rectangle is
    // expected at any time, also before the window was ever opened.
    virtual vst::VstIntPtr getRect(vst::ERect** rect);
    virtual vst::VstIntPtr open(void* parentWindow);
    virtual void close() {}
    virtual void idle() {}
    virtual vst::VstIntPtr onKeyDown(vst::VstKeyCode& key) { return -1; }
    virtual vst::VstIntPtr onKeyUp(vst::VstKeyCode& key) { return -1; }
    virtual vst::VstIntPtr setKnobMode(vst::VstIntPtr mode) { return 0; }
    // The plug-in forwards every parameter change here.
    virtual void setParameter(vst::VstInt32 index, float value) {}

    PluginBase* plugin() const { return plugin_; }

private:
    PluginBase* plugin_;
};

} // namespace grelmond
