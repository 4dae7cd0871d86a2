#include "formats/vst2/Vst2EditorController.h"

#include "formats/vst2/SynthPlugin.h"

namespace grelmond {

Vst2EditorController::Vst2EditorController(SynthPlugin& plugin)
    : InstrumentController(plugin.instrument()), plugin_(plugin)
{
}

void Vst2EditorController::beginEdit(int index) { plugin_.beginEdit(index); }
// Sets the value, then tells the host (audioMasterAutomate).
void Vst2EditorController::edit(int index, float value) { plugin_.setParameterAutomated(index, value); }
void Vst2EditorController::endEdit(int index) { plugin_.endEdit(index); }
void Vst2EditorController::selectProgram(int index) { plugin_.setProgram(index); }
void Vst2EditorController::tellHost() { plugin_.updateDisplay(); }
void Vst2EditorController::hostIdle() { plugin_.masterIdle(); }

} // namespace grelmond
