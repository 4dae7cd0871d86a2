#pragma once

#include "shell/SynthPluginWithEditor.h"

namespace grelmond {
class PluginEditor;
}

namespace grelmond::lv2 {

// The instrument's image inside the editor's process: the editor works on it
// as on the instrument itself, and what the musician does there goes out
// through the link (port writes, program messages); what the instrument
// reports comes in through show*() without going out again. It never plays.
class UiMirror final : public SynthPluginWithEditor {
public:
  class Link {
  public:
    virtual void parameterEdited(int index, float value) = 0;
    virtual void editBegun(int index, bool begun) = 0;
    virtual void programSelected(int index) = 0;
    virtual void programRenamed(int index, const char* name) = 0;

  protected:
    ~Link() = default;
  };

  explicit UiMirror(Link& link);

  void setProgram(vst::VstInt32 program) override;
  void setProgramName(char* name) override;
  // Bank and patch files belong to the instrument's side, which this editor
  // cannot reach yet: the editor reports them as failed.
  bool loadBank(const char*) override { return false; }
  bool loadPatch(const char*) override { return false; }
  bool saveBank(char*, std::size_t) override { return false; }
  bool savePatch(char*, std::size_t) override { return false; }

  // What the instrument reported: its current program, and a program's name.
  void showProgram(int index, const char* name, const float* values);
  void showProgramName(int index, const char* name);
  void showParameter(int index, float value) { SynthPluginWithEditor::setParameter(index, value); }

  PluginEditor* editor() const;

private:
  static vst::VstIntPtr hostCallback(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                     vst::VstIntPtr value, void* ptr, float opt);

  Link& link_;
  bool reporting_ = false; // true while showing what the instrument reported
};

} // namespace grelmond::lv2
