#include "formats/lv2/Lv2Instrument.h"

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>
#include <string>

namespace grelmond::lv2 {

namespace {

const void* findFeature(const LV2_Feature* const* features, const char* uri) {
  for (int k = 0; features != nullptr && features[k] != nullptr; ++k)
    if (std::strcmp(features[k]->URI, uri) == 0 && features[k]->data != nullptr)
      return features[k]->data;
  return nullptr;
}

} // namespace

Lv2Instrument* Lv2Instrument::create(double sampleRate, const LV2_Feature* const* features) {
  const auto* map = static_cast<const LV2_URID_Map*>(findFeature(features, LV2_URID__map));
  if (map == nullptr || !(sampleRate > 0.0))
    return nullptr;
  try {
    auto* instance = new Lv2Instrument(sampleRate, *map);
    instance->files_.setScheduler(static_cast<const LV2_Worker_Schedule*>(findFeature(features, LV2_WORKER__schedule)));
    return instance;
  } catch (...) {
    return nullptr;
  }
}

Lv2Instrument::Lv2Instrument(double sampleRate, const LV2_URID_Map& map)
    : uris_(map), messages_(map), fileMessages_(map) {
  // LV2 gives no block size before run(); the instrument sizes nothing by it.
  instrument_.prepare(sampleRate, 0);
  for (ParameterId p = 0; p < kNumParameters; ++p)
    ports_.setSeen(p, instrument_.parameter(p));
  lv2_atom_forge_init(&notifyForge_, const_cast<LV2_URID_Map*>(&map));
}

Lv2Instrument::~Lv2Instrument() = default;

void Lv2Instrument::connect(uint32_t port, void* data) {
  if (port < kNumParameters)
    ports_.connect(static_cast<ParameterId>(port), static_cast<const float*>(data));
  else if (port == kEventsPort)
    eventPort_ = static_cast<const LV2_Atom_Sequence*>(data);
  else if (port == kLeftOutPort || port == kRightOutPort)
    outputs_[port - kLeftOutPort] = static_cast<float*>(data);
  else if (port == kNotifyPort)
    notify_ = static_cast<LV2_Atom_Sequence*>(data);
}

void Lv2Instrument::activate() { instrument_.reset(); }

void Lv2Instrument::applyPorts() {
  ports_.applyMoved([this](ParameterId index, float value) { instrument_.setParameter(index, value); });
}

void Lv2Instrument::midi(uint32_t frame, const uint8_t* bytes, uint32_t size) {
  if (size > 0 && bytes[0] == InstrumentEvent::kSysExStatus) {
    systemExclusive(frame, bytes, size);
    return;
  }
  // Channel messages; the other system messages play no part in the sound.
  if (size == 0 || size > 3 || bytes[0] < 0x80 || bytes[0] >= 0xF0 || eventCount_ == kMaxEventsPerBlock)
    return;
  InstrumentEvent& event = events_[eventCount_++];
  event = InstrumentEvent{};
  event.frame = static_cast<int32_t>(frame);
  event.status = bytes[0];
  event.data1 = size > 1 ? bytes[1] : 0;
  event.data2 = size > 2 ? bytes[2] : 0;
  programChanged_ = programChanged_ || (bytes[0] & 0xF0) == 0xC0;
}

// The bytes (F0 … F7) stay in the host's event buffer, valid through this
// run(), where the block's events are delivered: nothing is copied.
void Lv2Instrument::systemExclusive(uint32_t frame, const uint8_t* bytes, uint32_t size) {
  if (size < 2 || bytes[size - 1] != 0xF7 || eventCount_ == kMaxEventsPerBlock)
    return;
  InstrumentEvent& event = events_[eventCount_++];
  event = InstrumentEvent{};
  event.frame = static_cast<int32_t>(frame);
  event.status = InstrumentEvent::kSysExStatus;
  event.sysex = bytes;
  event.sysexSize = size;
}

void Lv2Instrument::tempo(uint32_t, double beatsPerMinute) { instrument_.setTempo(beatsPerMinute); }

void Lv2Instrument::other(uint32_t, const LV2_Atom* atom) {
  if (const auto command = fileMessages_.readCommand(atom)) {
    files_.request(command->command, command->name);
    return;
  }
  const UiMessages::Message message = messages_.read(atom);
  using Kind = UiMessages::Message::Kind;
  switch (message.kind) {
  case Kind::Hello:
    editorAskedForNames_ = true;
    programChanged_ = true;
    break;
  case Kind::SelectProgram:
    // Events before it in the block are handed over first; the selection
    // itself, an editor's, takes effect at the block's start.
    deliverEvents();
    instrument_.selectProgram(message.program);
    programChanged_ = true;
    break;
  case Kind::RenameProgram:
    if (Program* program = instrument_.programs().program(message.program))
      program->setName(message.name);
    break;
  default:
    break;
  }
}

void Lv2Instrument::reportToEditor() {
  const bool names =
      editorAskedForNames_ || filesLoaded_ || stateRestored_.exchange(false, std::memory_order_acq_rel);
  editorAskedForNames_ = filesLoaded_ = false;
  if (!(names || programChanged_))
    return;
  const ProgramBank& programs = instrument_.programs();
  const int current = instrument_.currentProgram();
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
}

// After the program report, so that the editor shows a loaded program before it hears of the load.
void Lv2Instrument::reportFileAnswers() {
  while (const FileWork::Answer* answer = files_.oldestAnswer()) {
    // An answer that does not fit waits for the next block.
    if (lv2_atom_forge_frame_time(&notifyForge_, 0) == 0 ||
        !fileMessages_.writeAnswer(notifyForge_, answer->command, answer->done, answer->status, answer->path))
      return;
    files_.dropOldest();
  }
}

void Lv2Instrument::reportStateChanged() {
  if (!stateChanged_)
    return;
  LV2_Atom_Forge_Frame frame;
  if (lv2_atom_forge_frame_time(&notifyForge_, 0) == 0 ||
      lv2_atom_forge_object(&notifyForge_, &frame, 0, uris_.stateChanged) == 0)
    return;
  lv2_atom_forge_pop(&notifyForge_, &frame);
  stateChanged_ = false;
}

void Lv2Instrument::deliverEvents() {
  if (eventCount_ > 0)
    instrument_.handleEvents(events_, eventCount_);
  eventCount_ = 0;
}

void Lv2Instrument::run(uint32_t frames) {
  applyPorts();
  programChanged_ = false;
  reader_.read(eventPort_, frames, *this);
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
      reportFileAnswers();
      reportStateChanged();
      lv2_atom_forge_pop(&notifyForge_, &sequence);
    }
  }
  // With no frames or outputs this still plays the block's events.
  instrument_.render(outputs_[0], outputs_[1], static_cast<int>(frames));
}

LV2_State_Status Lv2Instrument::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
  std::string text;
  if (!instrument_.saveState(Instrument::StateScope::Bank, text))
    return LV2_STATE_ERR_UNKNOWN;
  // An atom:String carries its terminator.
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
  if (!instrument_.loadState(Instrument::StateScope::Bank, static_cast<const char*>(data), size))
    return LV2_STATE_ERR_UNKNOWN;
  ports_.adoptAtNextRun();
  stateRestored_.store(true, std::memory_order_release);
  return LV2_STATE_SUCCESS;
}

LV2_Worker_Status Lv2Instrument::work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                                      uint32_t size, const void* data) {
  return files_.work(respond, handle, size, data);
}

LV2_Worker_Status Lv2Instrument::workResponse(uint32_t size, const void* body) {
  const FileWork::Answer* answer = files_.answered(size, body);
  if (answer == nullptr || !answer->done)
    return LV2_WORKER_SUCCESS;
  if (isLoad(answer->command)) {
    // The loaded program holds until the host next moves a port; the editor learns every name.
    ports_.adoptAtNextRun();
    filesLoaded_ = true;
  }
  // Programs or the tuning changed: the host's session has something new to save.
  stateChanged_ = stateChanged_ || isLoad(answer->command) || answer->command == FileCommand::LoadTuning;
  return LV2_WORKER_SUCCESS;
}

} // namespace grelmond::lv2
