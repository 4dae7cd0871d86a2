#pragma once

#include "core/Instrument.h"
#include "formats/lv2/AtomEventReader.h"
#include "formats/lv2/FileMessages.h"
#include "formats/lv2/FileWork.h"
#include "formats/lv2/Lv2Uris.h"
#include "formats/lv2/PortChanges.h"
#include "formats/lv2/PortLayout.h"
#include "formats/lv2/UiMessages.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/worker/worker.h>

#include <atomic>

namespace grelmond::lv2 {

// One LV2 instance: the instrument, its ports and the translation of LV2's
// calls. run() applies the ports the host moved, hands over the block's MIDI
// at its frame offsets and the transport's tempo, then renders; it allocates
// nothing and takes no lock. The state is the instrument's bank state text.
// The editor's file commands go to the host's worker (work:schedule), whose
// answers run() passes back on the notify port.
class Lv2Instrument final : private AtomEventReader::Handler {
public:
  static constexpr int kMaxEventsPerBlock = 1024;

  // Null when the host lacks urid:map or the instrument cannot be made. A
  // host without work:schedule gets an instance whose file commands fail.
  static Lv2Instrument* create(double sampleRate, const LV2_Feature* const* features);
  ~Lv2Instrument();
  Lv2Instrument(const Lv2Instrument&) = delete;
  Lv2Instrument& operator=(const Lv2Instrument&) = delete;

  void connect(uint32_t port, void* data);
  void activate();
  void run(uint32_t frames);

  LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
  LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

  // The worker interface: work() on the host's worker thread, workResponse() in the run() context.
  LV2_Worker_Status work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle, uint32_t size,
                         const void* data);
  LV2_Worker_Status workResponse(uint32_t size, const void* body);

private:
  Lv2Instrument(double sampleRate, const LV2_URID_Map& map);
  void midi(uint32_t frame, const uint8_t* bytes, uint32_t size) override;
  void systemExclusive(uint32_t frame, const uint8_t* bytes, uint32_t size);
  void tempo(uint32_t frame, double beatsPerMinute) override;
  void other(uint32_t frame, const LV2_Atom* atom) override;
  void applyPorts();
  void deliverEvents();
  // The editor's view: the current program, and after a hello or a restore every name.
  void reportToEditor();
  void reportFileAnswers();
  // state:StateChanged, so that the host marks its session as modified.
  void reportStateChanged();

  Lv2Uris uris_;
  UiMessages messages_;
  FileMessages fileMessages_;
  AtomEventReader reader_{uris_};
  PortChanges ports_;
  Instrument instrument_;
  FileWork files_{instrument_};
  InstrumentEvent events_[kMaxEventsPerBlock];
  int eventCount_ = 0;
  const LV2_Atom_Sequence* eventPort_ = nullptr;
  float* outputs_[2] = {nullptr, nullptr};
  LV2_Atom_Sequence* notify_ = nullptr;
  LV2_Atom_Forge notifyForge_{};
  bool programChanged_ = false;
  bool editorAskedForNames_ = false;
  bool filesLoaded_ = false; // set in the run() context, when a load's answer comes
  bool stateChanged_ = false;
  std::atomic<bool> stateRestored_{false};
};

} // namespace grelmond::lv2
