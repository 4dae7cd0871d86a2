#pragma once

#include "formats/lv2/FileMessages.h"
#include "formats/lv2/UiMessages.h"
#include "core/Instrument.h"
#include "editor/PluginEditor.h"
#include "formats/lv2/ui/Lv2UiController.h"

#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <vector>

namespace grelmond::lv2 {

// The editor as an LV2 X11 UI inside the host's window. It reaches the
// instrument only the way LV2 allows across processes: parameter edits are
// port writes (inside ui:touch when the host offers it), program selection and
// renaming and the file buttons' commands are messages on the event port;
// port events and the instrument's notify messages bring changes back.
class Lv2EditorUi final : private Lv2UiController::Link {
public:
  // Null when the host lacks urid:map or a parent window, or the window cannot open.
  static Lv2EditorUi* create(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                             const LV2_Feature* const* features);
  ~Lv2EditorUi();
  Lv2EditorUi(const Lv2EditorUi&) = delete;
  Lv2EditorUi& operator=(const Lv2EditorUi&) = delete;

  void portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
  int idle();
  // For tests that look inside.
  const PluginEditor& editor() const { return editor_; }

private:
  Lv2EditorUi(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2_URID_Map& map);
  bool open(void* parent, LV2UI_Widget* widget);
  void readScaleFactor(const LV2_Options_Option* options, const LV2_URID_Map& map);

  void parameterEdited(int index, float value) override;
  void editBegun(int index, bool begun) override;
  void programSelected(int index) override;
  void programRenamed(int index, const char* name) override;
  void fileCommanded(FileCommand command, const char* name) override;
  bool resizeRequested(int width, int height) override;
  template <class Write>
  bool send(Write&& write);
  void received(const LV2_Atom* atom);
  void showProgram(int index, const char* name, const float* values);
  void showProgramName(int index, const char* name);

  LV2UI_Write_Function write_;
  LV2UI_Controller host_;
  UiMessages messages_;
  FileMessages fileMessages_;
  const LV2UI_Touch* touch_ = nullptr;
  const LV2UI_Resize* resize_ = nullptr;
  LV2_Atom_Forge forge_{};
  std::vector<uint64_t> buffer_ = std::vector<uint64_t>(1024); // within the event port's minimum size
  // The instrument's image in this process: what the editor shows and edits.
  // It never plays; the instrument's reports keep it in step.
  Instrument image_;
  Lv2UiController controller_{image_, *this};
  PluginEditor editor_{controller_};
};

} // namespace grelmond::lv2
