#pragma once

#include <lv2/urid/urid.h>

namespace grelmond::lv2 {

// The URIs the adapter meets, mapped once by the host's urid:map when an
// instance is made (mapping may allocate, so never in run()).
struct Lv2Uris {
  static constexpr const char* kStateBank = "urn:zavr:grelmond#bank";

  explicit Lv2Uris(const LV2_URID_Map& map);

  LV2_URID atomBlank, atomObject, atomSequence, atomFloat, atomDouble, atomInt, atomLong, atomString;
  LV2_URID midiEvent;
  LV2_URID timePosition, timeBeatsPerMinute;
  LV2_URID stateBank, stateChanged;
};

} // namespace grelmond::lv2
