// The UI library's one exported name, lv2ui_descriptor, and the calls the
// host makes through it, each handed to the editor.
#include "formats/lv2/PortLayout.h"
#include "formats/lv2/ui/Lv2EditorUi.h"

#include <cstring>

namespace {

using grelmond::lv2::Lv2EditorUi;

Lv2EditorUi* editor(LV2UI_Handle handle) { return static_cast<Lv2EditorUi*>(handle); }

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
  if (pluginUri == nullptr || std::strcmp(pluginUri, grelmond::lv2::kPluginUri) != 0)
    return nullptr;
  return Lv2EditorUi::create(write, controller, widget, features);
}

void cleanup(LV2UI_Handle handle) { delete editor(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  editor(handle)->portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle handle) { return editor(handle)->idle(); }

const void* extensionData(const char* uri) {
  static const LV2UI_Idle_Interface idleInterface = {idle};
  return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {grelmond::lv2::kUiUri, instantiate, cleanup, portEvent, extensionData};

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
