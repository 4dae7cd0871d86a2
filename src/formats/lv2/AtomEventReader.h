#pragma once

#include "formats/lv2/Lv2Uris.h"

#include <lv2/atom/atom.h>

#include <cstdint>

namespace grelmond::lv2 {

// Reads one block's event sequence: MIDI messages and the tempo of transport
// positions, at their frame offsets (clamped into the block). Events of other
// types are handed to other(). Allocates nothing.
class AtomEventReader {
public:
  struct Handler {
    virtual void midi(uint32_t frame, const uint8_t* bytes, uint32_t size) = 0;
    virtual void tempo(uint32_t frame, double beatsPerMinute) = 0;
    virtual void other(uint32_t frame, const LV2_Atom* atom) {}

  protected:
    ~Handler() = default;
  };

  explicit AtomEventReader(const Lv2Uris& uris) : uris_(uris) {}

  // A null sequence, or one that is not a sequence, reads as empty.
  void read(const LV2_Atom_Sequence* sequence, uint32_t frames, Handler& handler) const;

private:
  bool readTempo(const LV2_Atom_Object* object, double& beatsPerMinute) const;

  const Lv2Uris& uris_;
};

} // namespace grelmond::lv2
