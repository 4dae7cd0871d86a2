#include "formats/lv2/ui/Lv2EditorUi.h"

#include "formats/lv2/PortLayout.h"
#include "gui/GuiFrame.h"
#include "gui/x11/X11Window.h"

#include <lv2/atom/atom.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace grelmond::lv2 {

namespace {

const void* feature(const LV2_Feature* const* features, const char* uri) {
  for (int k = 0; features != nullptr && features[k] != nullptr; ++k)
    if (std::strcmp(features[k]->URI, uri) == 0)
      return features[k]->data;
  return nullptr;
}

} // namespace

Lv2EditorUi* Lv2EditorUi::create(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                                 const LV2_Feature* const* features) {
  const auto* map = static_cast<const LV2_URID_Map*>(feature(features, LV2_URID__map));
  void* parent = const_cast<void*>(feature(features, LV2_UI__parent));
  if (map == nullptr || parent == nullptr || write == nullptr || widget == nullptr)
    return nullptr;
  try {
    std::unique_ptr<Lv2EditorUi> ui(new Lv2EditorUi(write, controller, *map));
    ui->touch_ = static_cast<const LV2UI_Touch*>(feature(features, LV2_UI__touch));
    ui->resize_ = static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize));
    ui->readScaleFactor(static_cast<const LV2_Options_Option*>(feature(features, LV2_OPTIONS__options)), *map);
    if (!ui->open(parent, widget))
      return nullptr;
    return ui.release();
  } catch (...) {
    return nullptr;
  }
}

Lv2EditorUi::Lv2EditorUi(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2_URID_Map& map)
    : write_(write), host_(controller), messages_(map), fileMessages_(map) {
  lv2_atom_forge_init(&forge_, const_cast<LV2_URID_Map*>(&map));
  image_.setChangeReceiver(&editor_);
}

Lv2EditorUi::~Lv2EditorUi() {
  editor_.close();
  image_.setChangeReceiver(nullptr);
}

// The host's ui:scaleFactor, a float option; other types and odd values are ignored.
void Lv2EditorUi::readScaleFactor(const LV2_Options_Option* options, const LV2_URID_Map& map) {
  if (options == nullptr)
    return;
  const LV2_URID key = map.map(map.handle, LV2_UI__scaleFactor);
  const LV2_URID floatType = map.map(map.handle, LV2_ATOM__Float);
  for (const LV2_Options_Option* o = options; o->key != 0 || o->value != nullptr; ++o) {
    if (o->key != key || o->type != floatType || o->size != sizeof(float) || o->value == nullptr)
      continue;
    const float factor = *static_cast<const float*>(o->value);
    if (std::isfinite(factor) && factor > 0.0f)
      editor_.setHostScale(std::clamp(double(factor), 1.0, 2.0));
    return;
  }
}

bool Lv2EditorUi::open(void* parent, LV2UI_Widget* widget) {
  if (!editor_.open(parent) || editor_.frame() == nullptr)
    return false;
  const auto* window = dynamic_cast<const X11Window*>(editor_.frame()->window());
  *widget = window != nullptr ? reinterpret_cast<LV2UI_Widget>(window->window()) : nullptr;
  resizeRequested(editor_.width(), editor_.height());
  // The instrument answers with its current program and every name.
  send([this] { return messages_.writeHello(forge_); });
  return true;
}

// Called from the editor's idle once it has resized its window (the widget
// the host holds) for a new zoom and set the size hints that hosts read.
bool Lv2EditorUi::resizeRequested(int width, int height) {
  return resize_ != nullptr && resize_->ui_resize(resize_->handle, width, height) == 0;
}

int Lv2EditorUi::idle() {
  editor_.idle();
  return 0;
}

void Lv2EditorUi::portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  if (buffer == nullptr)
    return;
  if (port < static_cast<uint32_t>(kNumParameters) && format == 0 && size == sizeof(float))
    image_.setParameter(static_cast<int>(port), *static_cast<const float*>(buffer));
  else if (port == kNotifyPort && format == messages_.eventTransfer() && size >= sizeof(LV2_Atom))
    received(static_cast<const LV2_Atom*>(buffer));
}

void Lv2EditorUi::received(const LV2_Atom* atom) {
  if (const auto answer = fileMessages_.readAnswer(atom)) {
    editor_.fileAnswered(answer->command, answer->done, answer->status);
    return;
  }
  const UiMessages::Message message = messages_.read(atom);
  if (message.kind == UiMessages::Message::Kind::Program)
    showProgram(message.program, message.name, message.values);
  else if (message.kind == UiMessages::Message::Kind::ProgramName)
    showProgramName(message.program, message.name);
}

// The instrument's current program as it reports it, which may differ from
// this image's copy (edited, restored, chosen by MIDI).
void Lv2EditorUi::showProgram(int index, const char* name, const float* values) {
  showProgramName(index, name);
  image_.selectProgram(index);
  for (int p = 0; p < kNumParameters; ++p)
    image_.setParameter(p, values[p]);
}

void Lv2EditorUi::showProgramName(int index, const char* name) {
  if (Program* program = image_.programs().program(index))
    program->setName(name);
  editor_.requestUpdate();
}

template <class Write>
bool Lv2EditorUi::send(Write&& write) {
  lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<uint8_t*>(buffer_.data()), buffer_.size() * sizeof(uint64_t));
  if (!write())
    return false;
  const auto* atom = reinterpret_cast<const LV2_Atom*>(buffer_.data());
  write_(host_, kEventsPort, sizeof(LV2_Atom) + atom->size, messages_.eventTransfer(), atom);
  return true;
}

void Lv2EditorUi::parameterEdited(int index, float value) {
  write_(host_, static_cast<uint32_t>(index), sizeof(float), 0, &value);
}

void Lv2EditorUi::editBegun(int index, bool begun) {
  if (touch_ != nullptr)
    touch_->touch(touch_->handle, static_cast<uint32_t>(index), begun);
}

void Lv2EditorUi::programSelected(int index) {
  send([this, index] { return messages_.writeSelectProgram(forge_, index); });
}

void Lv2EditorUi::programRenamed(int index, const char* name) {
  send([this, index, name] { return messages_.writeRenameProgram(forge_, index, name); });
}

void Lv2EditorUi::fileCommanded(FileCommand command, const char* name) {
  // A name too long for a message is refused here: no answer would come.
  if (!send([this, command, name] { return fileMessages_.writeCommand(forge_, command, name); }))
    editor_.fileAnswered(command, false, fileStatus(command, false));
}

} // namespace grelmond::lv2
