#pragma once

#include "core/InstrumentController.h"

namespace grelmond::vst3 {

class Vst3Instrument;

// The editor's controller in a VST 3 host: the instrument answers, and edits,
// program selections, renames and file loads also reach the host through
// the component handler, so its displays, automation and preset list follow.
class Vst3EditorController final : public InstrumentController {
public:
    Vst3EditorController(Instrument& instrument, Vst3Instrument& owner)
        : InstrumentController(instrument), owner_(owner)
    {
    }

    void beginEdit(int index) override;
    void edit(int index, float value) override;
    void endEdit(int index) override;
    void selectProgram(int index) override;
    void setProgramPosition(float position) override;
    void renameCurrentProgram(const char* name) override;
    bool loadBank(const char* name) override;
    bool loadPatch(const char* name) override;
    void tellHost() override;
    void hostIdle() override {}
    bool resizeEditor(int width, int height) override;

private:
    Vst3Instrument& owner_;
};

} // namespace grelmond::vst3
