#include "formats/lv2/ui/UiMirror.h"

#include "editor/PluginEditor.h"

namespace grelmond::lv2 {

using namespace vst;

UiMirror::UiMirror(Link& link) : SynthPluginWithEditor(&UiMirror::hostCallback), link_(link) {
  getAeffect()->user = this;
}

VstIntPtr UiMirror::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
  if (opcode == audioMasterVersion)
    return 2400;
  auto* self = effect != nullptr ? static_cast<UiMirror*>(effect->user) : nullptr;
  if (self == nullptr || self->reporting_ || !isParameterId(index))
    return 0;
  if (opcode == audioMasterAutomate)
    self->link_.parameterEdited(index, opt);
  else if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit)
    self->link_.editBegun(index, opcode == audioMasterBeginEdit);
  return 0;
}

PluginEditor* UiMirror::editor() const { return static_cast<PluginEditor*>(editor_); }

void UiMirror::setProgram(VstInt32 program) {
  SynthPluginWithEditor::setProgram(program);
  if (!reporting_ && programs().isProgramIndex(program))
    link_.programSelected(program);
}

void UiMirror::setProgramName(char* name) {
  SynthPluginWithEditor::setProgramName(name);
  if (!reporting_ && name != nullptr)
    link_.programRenamed(getProgram(), name);
}

void UiMirror::showProgram(int index, const char* name, const float* values) {
  if (!programs().isProgramIndex(index))
    return;
  reporting_ = true;
  showProgramName(index, name);
  SynthPluginWithEditor::setProgram(index);
  for (ParameterId p = 0; p < kNumParameters; ++p)
    SynthPluginWithEditor::setParameter(p, values[p]);
  reporting_ = false;
  updateDisplay();
}

void UiMirror::showProgramName(int index, const char* name) {
  if (Program* program = programs().program(index))
    program->setName(name);
  if (editor_ != nullptr)
    editor()->requestUpdate();
}

} // namespace grelmond::lv2
