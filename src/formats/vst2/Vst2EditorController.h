#pragma once

#include "core/InstrumentController.h"

namespace grelmond {

class SynthPlugin;

// The editor's controller in a VST 2 host: the instrument answers, and edits,
// gestures and display refreshes also go to the host through the plug-in's
// callbacks.
class Vst2EditorController final : public InstrumentController {
public:
    explicit Vst2EditorController(SynthPlugin& plugin);

    void beginEdit(int index) override;
    void edit(int index, float value) override;
    void endEdit(int index) override;
    void selectProgram(int index) override;
    void tellHost() override;
    void hostIdle() override;

private:
    SynthPlugin& plugin_;
};

} // namespace grelmond
