#include "formats/vst3/Vst3EditorController.h"

#include "core/Instrument.h"
#include "formats/vst3/Vst3Instrument.h"

namespace grelmond::vst3 {

// Called from the editor's idle, never inside a host call, so the host may
// call the view back while resizing.
bool Vst3EditorController::resizeEditor(int width, int height) { return owner_.resizeView(width, height); }

void Vst3EditorController::beginEdit(int index)
{
    if (isParameterId(index))
        owner_.beginHostEdit(static_cast<Steinberg::Vst::ParamID>(index));
}

void Vst3EditorController::edit(int index, float value)
{
    if (!isParameterId(index))
        return;
    instrument().setParameter(index, value);
    owner_.performHostEdit(static_cast<Steinberg::Vst::ParamID>(index), instrument().parameter(index));
}

void Vst3EditorController::endEdit(int index)
{
    if (isParameterId(index))
        owner_.endHostEdit(static_cast<Steinberg::Vst::ParamID>(index));
}

void Vst3EditorController::selectProgram(int index)
{
    InstrumentController::selectProgram(index);
    owner_.programSelected();
}

void Vst3EditorController::setProgramPosition(float position)
{
    InstrumentController::setProgramPosition(position);
    owner_.programSelected();
}

void Vst3EditorController::renameCurrentProgram(const char* name)
{
    InstrumentController::renameCurrentProgram(name);
    owner_.programNamesChanged();
}

bool Vst3EditorController::loadBank(const char* name)
{
    const bool loaded = InstrumentController::loadBank(name);
    if (loaded) {
        owner_.programNamesChanged();
        owner_.valuesChanged();
    }
    return loaded;
}

bool Vst3EditorController::loadPatch(const char* name)
{
    const bool loaded = InstrumentController::loadPatch(name);
    if (loaded) {
        owner_.programNamesChanged();
        owner_.valuesChanged();
    }
    return loaded;
}

void Vst3EditorController::tellHost()
{
    owner_.programNamesChanged();
    owner_.valuesChanged();
}

} // namespace grelmond::vst3
