#pragma once

#include "core/InstrumentController.h"

namespace grelmond::lv2 {

// The editor's controller in an LV2 UI. It answers from the instrument's
// image in the editor's process and sends what the musician does across the
// UI boundary through the link: edits as port writes inside touch gestures,
// program selection and renaming as messages.
class Lv2UiController final : public InstrumentController {
public:
  class Link {
  public:
    virtual void parameterEdited(int index, float value) = 0;
    virtual void editBegun(int index, bool begun) = 0;
    virtual void programSelected(int index) = 0;
    virtual void programRenamed(int index, const char* name) = 0;
    // True when the host took the editor's new size.
    virtual bool resizeRequested(int width, int height) = 0;

  protected:
    ~Link() = default;
  };

  Lv2UiController(Instrument& image, Link& link) : InstrumentController(image), link_(link) {}

  void beginEdit(int index) override { link_.editBegun(index, true); }
  void edit(int index, float value) override;
  void endEdit(int index) override { link_.editBegun(index, false); }
  void selectProgram(int index) override;
  void renameCurrentProgram(const char* name) override;
  // Bank and patch files belong to the instrument's side, which this editor
  // does not reach yet: they are reported as failed.
  bool loadBank(const char*) override { return false; }
  bool loadPatch(const char*) override { return false; }
  bool saveBank(char*, std::size_t) override { return false; }
  bool savePatch(char*, std::size_t) override { return false; }
  // LV2 hosts read names and values from the ports and the state themselves.
  void tellHost() override {}
  void hostIdle() override {}
  bool resizeEditor(int width, int height) override { return link_.resizeRequested(width, height); }

private:
  Link& link_;
};

} // namespace grelmond::lv2
