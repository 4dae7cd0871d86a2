#include "formats/lv2/Lv2Instrument.h"

#include "shell/SynthPlugin.h"

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

namespace grelmond::lv2 {

using namespace vst;

// What the instrument asks its host for: the tempo of the last transport
// position, and the block's MIDI in the form the instrument reads.
struct Lv2Instrument::Transport {
  VstTimeInfo time{};
  VstMidiEvent midi[kMaxEventsPerBlock] = {};
  VstEvent* pointers[kMaxEventsPerBlock] = {};
  int count = 0;
  // VstEvents ends in a two-pointer array; the full list follows it here.
  alignas(VstEvents) unsigned char list[sizeof(VstEvents) + kMaxEventsPerBlock * sizeof(VstEvent*)] = {};

  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    auto* self = effect != nullptr ? static_cast<Transport*>(effect->user) : nullptr;
    if (opcode == audioMasterVersion)
      return 2400;
    if (opcode == audioMasterGetTime && self != nullptr && (self->time.flags & kVstTempoValid) != 0)
      return reinterpret_cast<VstIntPtr>(&self->time);
    return 0;
  }
};

namespace {

const LV2_URID_Map* findMap(const LV2_Feature* const* features) {
  for (int k = 0; features != nullptr && features[k] != nullptr; ++k)
    if (std::strcmp(features[k]->URI, LV2_URID__map) == 0 && features[k]->data != nullptr)
      return static_cast<const LV2_URID_Map*>(features[k]->data);
  return nullptr;
}

} // namespace

Lv2Instrument* Lv2Instrument::create(double sampleRate, const LV2_Feature* const* features) {
  const LV2_URID_Map* map = findMap(features);
  if (map == nullptr || !(sampleRate > 0.0))
    return nullptr;
  try {
    return new Lv2Instrument(sampleRate, *map);
  } catch (...) {
    return nullptr;
  }
}

Lv2Instrument::Lv2Instrument(double sampleRate, const LV2_URID_Map& map)
    : uris_(map), messages_(map), transport_(std::make_unique<Transport>()),
      plugin_(std::make_unique<SynthPlugin>(&Transport::callback)) {
  plugin_->getAeffect()->user = transport_.get();
  plugin_->setSampleRate(static_cast<float>(sampleRate));
  for (ParameterId p = 0; p < kNumParameters; ++p)
    ports_.setSeen(p, plugin_->getParameter(p));
  transport_->time.sampleRate = sampleRate;
  lv2_atom_forge_init(&notifyForge_, const_cast<LV2_URID_Map*>(&map));
}

Lv2Instrument::~Lv2Instrument() = default;

void Lv2Instrument::connect(uint32_t port, void* data) {
  if (port < kNumParameters)
    ports_.connect(static_cast<ParameterId>(port), static_cast<const float*>(data));
  else if (port == kEventsPort)
    events_ = static_cast<const LV2_Atom_Sequence*>(data);
  else if (port == kLeftOutPort || port == kRightOutPort)
    outputs_[port - kLeftOutPort] = static_cast<float*>(data);
  else if (port == kNotifyPort)
    notify_ = static_cast<LV2_Atom_Sequence*>(data);
}

void Lv2Instrument::activate() { plugin_->resume(); }

void Lv2Instrument::applyPorts() {
  ports_.applyMoved([this](ParameterId index, float value) { plugin_->setParameter(index, value); });
}

void Lv2Instrument::midi(uint32_t frame, const uint8_t* bytes, uint32_t size) {
  Transport& t = *transport_;
  if (size == 0 || size > 3 || bytes[0] < 0x80 || bytes[0] >= 0xF0 || t.count == kMaxEventsPerBlock)
    return;
  VstMidiEvent& event = t.midi[t.count];
  event = VstMidiEvent{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = static_cast<VstInt32>(frame);
  std::memcpy(event.midiData, bytes, size);
  t.pointers[t.count++] = reinterpret_cast<VstEvent*>(&event);
  programChanged_ = programChanged_ || (bytes[0] & 0xF0) == 0xC0;
}

void Lv2Instrument::tempo(uint32_t, double beatsPerMinute) {
  transport_->time.tempo = beatsPerMinute;
  transport_->time.flags |= kVstTempoValid;
}

void Lv2Instrument::other(uint32_t, const LV2_Atom* atom) {
  const UiMessages::Message message = messages_.read(atom);
  using Kind = UiMessages::Message::Kind;
  switch (message.kind) {
  case Kind::Hello:
    editorAskedForNames_ = true;
    programChanged_ = true;
    break;
  case Kind::SelectProgram:
    // Events before it in the block reach the engine first.
    deliverEvents();
    plugin_->setProgram(message.program);
    programChanged_ = true;
    break;
  case Kind::RenameProgram:
    if (Program* program = plugin_->programs().program(message.program))
      program->setName(message.name);
    break;
  default:
    break;
  }
}

void Lv2Instrument::reportToEditor() {
  const bool names = editorAskedForNames_ || stateRestored_.exchange(false, std::memory_order_acq_rel);
  if (notify_ == nullptr || !(names || programChanged_))
    return;
  const ProgramBank& programs = plugin_->programs();
  const int current = plugin_->getProgram();
  if (const Program* program = programs.program(current)) {
    float values[kNumParameters];
    for (ParameterId p = 0; p < kNumParameters; ++p)
      values[p] = program->value(p);
    lv2_atom_forge_frame_time(&notifyForge_, 0);
    messages_.writeProgram(notifyForge_, current, program->name().c_str(), values);
  }
  for (int k = 0; names && k < ProgramBank::kNumPrograms; ++k)
    if (const Program* program = programs.program(k)) {
      lv2_atom_forge_frame_time(&notifyForge_, 0);
      messages_.writeProgramName(notifyForge_, k, program->name().c_str());
    }
  editorAskedForNames_ = false;
}

void Lv2Instrument::deliverEvents() {
  Transport& t = *transport_;
  if (t.count == 0)
    return;
  auto* list = reinterpret_cast<VstEvents*>(t.list);
  list->numEvents = t.count;
  std::memcpy(list->events, t.pointers, static_cast<std::size_t>(t.count) * sizeof(VstEvent*));
  plugin_->processEvents(list);
  t.count = 0;
}

void Lv2Instrument::run(uint32_t frames) {
  applyPorts();
  programChanged_ = false;
  reader_.read(events_, frames, *this);
  deliverEvents();
  // A program the musician selected holds until the host moves a port.
  if (programChanged_)
    ports_.adoptCurrent();
  if (notify_ != nullptr) {
    // The host says how much room the port has in the size it leaves there.
    lv2_atom_forge_set_buffer(&notifyForge_, reinterpret_cast<uint8_t*>(notify_),
                              sizeof(LV2_Atom) + notify_->atom.size);
    LV2_Atom_Forge_Frame sequence;
    if (lv2_atom_forge_sequence_head(&notifyForge_, &sequence, 0) != 0) {
      reportToEditor();
      lv2_atom_forge_pop(&notifyForge_, &sequence);
    }
  }
  if (frames == 0 || outputs_[0] == nullptr || outputs_[1] == nullptr)
    return;
  plugin_->processReplacing(nullptr, outputs_, static_cast<VstInt32>(frames));
}

LV2_State_Status Lv2Instrument::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
  void* data = nullptr;
  const VstInt32 size = plugin_->getChunk(&data, false);
  if (size <= 0 || data == nullptr)
    return LV2_STATE_ERR_UNKNOWN;
  // An atom:String carries its terminator.
  const std::string text(static_cast<const char*>(data), static_cast<std::size_t>(size));
  return store(handle, uris_.stateBank, text.c_str(), text.size() + 1, uris_.atomString,
               LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Lv2Instrument::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
  std::size_t size = 0;
  uint32_t type = 0, flags = 0;
  const void* data = retrieve(handle, uris_.stateBank, &size, &type, &flags);
  if (data == nullptr)
    return LV2_STATE_ERR_NO_PROPERTY;
  if (type != uris_.atomString)
    return LV2_STATE_ERR_BAD_TYPE;
  if (size == 0 || size > static_cast<std::size_t>(SynthPlugin::kMaxChunkBytes))
    return LV2_STATE_ERR_UNKNOWN;
  if (plugin_->setChunk(const_cast<void*>(data), static_cast<VstInt32>(size), false) == 0)
    return LV2_STATE_ERR_UNKNOWN;
  ports_.adoptAtNextRun();
  stateRestored_.store(true, std::memory_order_release);
  return LV2_STATE_SUCCESS;
}

} // namespace grelmond::lv2
