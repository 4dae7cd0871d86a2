#pragma once

#include "core/Instrument.h"
#include "formats/lv2/AtomEventReader.h"
#include "formats/lv2/Lv2Uris.h"
#include "formats/lv2/PortChanges.h"
#include "formats/lv2/PortLayout.h"
#include "formats/lv2/UiMessages.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <atomic>

namespace grelmond::lv2 {

// One LV2 instance: the instrument, its ports and the translation of LV2's
// calls. run() applies the ports the host moved, hands over the block's MIDI
// at its frame offsets and the transport's tempo, then renders; it allocates
// nothing and takes no lock. The state is the instrument's bank state text.
class Lv2Instrument final : private AtomEventReader::Handler {
public:
  static constexpr int kMaxEventsPerBlock = 1024;

  // Null when the host lacks urid:map or the instrument cannot be made.
  static Lv2Instrument* create(double sampleRate, const LV2_Feature* const* features);
  ~Lv2Instrument();
  Lv2Instrument(const Lv2Instrument&) = delete;
  Lv2Instrument& operator=(const Lv2Instrument&) = delete;

  void connect(uint32_t port, void* data);
  void activate();
  void run(uint32_t frames);

  LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
  LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

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

  Lv2Uris uris_;
  UiMessages messages_;
  AtomEventReader reader_{uris_};
  PortChanges ports_;
  Instrument instrument_;
  InstrumentEvent events_[kMaxEventsPerBlock];
  int eventCount_ = 0;
  const LV2_Atom_Sequence* eventPort_ = nullptr;
  float* outputs_[2] = {nullptr, nullptr};
  LV2_Atom_Sequence* notify_ = nullptr;
  LV2_Atom_Forge notifyForge_{};
  bool programChanged_ = false;
  bool editorAskedForNames_ = false;
  std::atomic<bool> stateRestored_{false};
};

} // namespace grelmond::lv2
