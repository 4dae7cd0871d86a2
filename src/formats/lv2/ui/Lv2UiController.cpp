#include "formats/lv2/ui/Lv2UiController.h"

#include "core/Instrument.h"

namespace grelmond::lv2 {

void Lv2UiController::edit(int index, float value) {
  instrument().setParameter(index, value);
  link_.parameterEdited(index, value);
}

void Lv2UiController::selectProgram(int index) {
  instrument().selectProgram(index);
  link_.programSelected(index);
}

void Lv2UiController::renameCurrentProgram(const char* name) {
  instrument().renameCurrentProgram(name);
  link_.programRenamed(instrument().currentProgram(), name);
}

} // namespace grelmond::lv2
