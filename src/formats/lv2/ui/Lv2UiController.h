#pragma once

#include "core/FileCommand.h"
#include "core/InstrumentController.h"

#include <string>

namespace grelmond::lv2 {

// The editor's controller in an LV2 UI. It answers from the instrument's
// image in the editor's process and sends what the musician does across the
// UI boundary through the link: edits as port writes inside touch gestures,
// program selection, renaming and file commands as messages. The file
// commands' outcomes come back later, as the instrument's answers.
class Lv2UiController final : public InstrumentController {
public:
  class Link {
  public:
    virtual void parameterEdited(int index, float value) = 0;
    virtual void editBegun(int index, bool begun) = 0;
    virtual void programSelected(int index) = 0;
    virtual void programRenamed(int index, const char* name) = 0;
    virtual void fileCommanded(FileCommand command, const char* name) = 0;
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
  // Files are the instrument's to read and write, on its side of the boundary.
  bool loadBank(const char* name) override { return passOn(FileCommand::LoadBank, name); }
  bool loadPatch(const char* name) override { return passOn(FileCommand::LoadPatch, name); }
  bool saveBank(char* name, std::size_t) override { return passOn(FileCommand::SaveBank, name); }
  bool savePatch(char* name, std::size_t) override { return passOn(FileCommand::SavePatch, name); }
  std::string loadTuning(const char* name) override {
    passOn(FileCommand::LoadTuning, name);
    return {};
  }
  bool filesAnswerLater() override { return true; }
  // LV2 hosts read names and values from the ports and the state themselves.
  void tellHost() override {}
  void hostIdle() override {}
  bool resizeEditor(int width, int height) override { return link_.resizeRequested(width, height); }

private:
  bool passOn(FileCommand command, const char* name) {
    link_.fileCommanded(command, name != nullptr ? name : "");
    return true;
  }

  Link& link_;
};

} // namespace grelmond::lv2
