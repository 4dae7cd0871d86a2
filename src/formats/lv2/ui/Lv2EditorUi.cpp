#include "formats/lv2/ui/Lv2EditorUi.h"

#include "editor/PluginEditor.h"
#include "formats/lv2/PortLayout.h"
#include "gui/GuiFrame.h"
#include "gui/x11/X11Window.h"

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
    if (!ui->open(parent, widget, static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize))))
      return nullptr;
    return ui.release();
  } catch (...) {
    return nullptr;
  }
}

Lv2EditorUi::Lv2EditorUi(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2_URID_Map& map)
    : write_(write), controller_(controller), messages_(map), mirror_(new UiMirror(static_cast<UiMirror::Link&>(*this))) {
  lv2_atom_forge_init(&forge_, const_cast<LV2_URID_Map*>(&map));
}

Lv2EditorUi::~Lv2EditorUi() {
  vst::AEffect* effect = mirror_->getAeffect();
  effect->dispatcher(effect, vst::effEditClose, 0, 0, nullptr, 0.0f);
}

bool Lv2EditorUi::open(void* parent, LV2UI_Widget* widget, const LV2UI_Resize* resize) {
  PluginEditor* editor = mirror_->editor();
  vst::AEffect* effect = mirror_->getAeffect();
  if (editor == nullptr || effect->dispatcher(effect, vst::effEditOpen, 0, 0, parent, 0.0f) == 0 ||
      editor->frame() == nullptr)
    return false;
  const auto* window = dynamic_cast<const X11Window*>(editor->frame()->window());
  *widget = window != nullptr ? reinterpret_cast<LV2UI_Widget>(window->window()) : nullptr;
  vst::ERect* rect = nullptr;
  effect->dispatcher(effect, vst::effEditGetRect, 0, 0, &rect, 0.0f);
  if (resize != nullptr && rect != nullptr)
    resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
  // The instrument answers with its current program and every name.
  send([this] { return messages_.writeHello(forge_); });
  return true;
}

int Lv2EditorUi::idle() {
  vst::AEffect* effect = mirror_->getAeffect();
  effect->dispatcher(effect, vst::effEditIdle, 0, 0, nullptr, 0.0f);
  return 0;
}

void Lv2EditorUi::portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  if (buffer == nullptr)
    return;
  if (port < static_cast<uint32_t>(kNumParameters) && format == 0 && size == sizeof(float))
    mirror_->showParameter(static_cast<int>(port), *static_cast<const float*>(buffer));
  else if (port == kNotifyPort && format == messages_.eventTransfer() && size >= sizeof(LV2_Atom))
    received(static_cast<const LV2_Atom*>(buffer));
}

void Lv2EditorUi::received(const LV2_Atom* atom) {
  const UiMessages::Message message = messages_.read(atom);
  if (message.kind == UiMessages::Message::Kind::Program)
    mirror_->showProgram(message.program, message.name, message.values);
  else if (message.kind == UiMessages::Message::Kind::ProgramName)
    mirror_->showProgramName(message.program, message.name);
}

template <class Write>
void Lv2EditorUi::send(Write&& write) {
  lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<uint8_t*>(buffer_.data()), buffer_.size() * sizeof(uint64_t));
  if (!write())
    return;
  const auto* atom = reinterpret_cast<const LV2_Atom*>(buffer_.data());
  write_(controller_, kEventsPort, sizeof(LV2_Atom) + atom->size, messages_.eventTransfer(), atom);
}

void Lv2EditorUi::parameterEdited(int index, float value) {
  write_(controller_, static_cast<uint32_t>(index), sizeof(float), 0, &value);
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

} // namespace grelmond::lv2
