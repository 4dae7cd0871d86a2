// The library's one exported name, lv2_descriptor, and the calls LV2 makes
// through it, each handed to the instance.
#include "formats/lv2/Lv2Instrument.h"
#include <cstring>

namespace {

using grelmond::lv2::Lv2Instrument;

Lv2Instrument* instrument(LV2_Handle handle) { return static_cast<Lv2Instrument*>(handle); }

LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features) {
  return Lv2Instrument::create(rate, features);
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) { instrument(handle)->connect(port, data); }
void activate(LV2_Handle handle) { instrument(handle)->activate(); }
void run(LV2_Handle handle, uint32_t frames) { instrument(handle)->run(frames); }
void cleanup(LV2_Handle handle) { delete instrument(handle); }

LV2_State_Status save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state, uint32_t,
                      const LV2_Feature* const*) {
  return instrument(handle)->save(store, state);
}

LV2_State_Status restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state,
                         uint32_t, const LV2_Feature* const*) {
  return instrument(handle)->restore(retrieve, state);
}

LV2_Worker_Status work(LV2_Handle handle, LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle responder,
                       uint32_t size, const void* data) {
  return instrument(handle)->work(respond, responder, size, data);
}

LV2_Worker_Status workResponse(LV2_Handle handle, uint32_t size, const void* body) {
  return instrument(handle)->workResponse(size, body);
}

const void* extensionData(const char* uri) {
  static const LV2_State_Interface state = {save, restore};
  static const LV2_Worker_Interface worker = {work, workResponse, nullptr};
  if (std::strcmp(uri, LV2_STATE__interface) == 0)
    return &state;
  return std::strcmp(uri, LV2_WORKER__interface) == 0 ? &worker : nullptr;
}

const LV2_Descriptor kDescriptor = {grelmond::lv2::kPluginUri, instantiate, connectPort, activate, run, nullptr,
                                    cleanup, extensionData};

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
