#include "formats/lv2/Lv2Uris.h"

#include <lv2/atom/atom.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>
#include <lv2/time/time.h>

namespace grelmond::lv2 {

namespace {
LV2_URID mapped(const LV2_URID_Map& map, const char* uri) { return map.map(map.handle, uri); }
} // namespace

Lv2Uris::Lv2Uris(const LV2_URID_Map& map)
    : atomBlank(mapped(map, LV2_ATOM__Blank)), atomObject(mapped(map, LV2_ATOM__Object)),
      atomSequence(mapped(map, LV2_ATOM__Sequence)), atomFloat(mapped(map, LV2_ATOM__Float)),
      atomDouble(mapped(map, LV2_ATOM__Double)), atomInt(mapped(map, LV2_ATOM__Int)),
      atomLong(mapped(map, LV2_ATOM__Long)), atomString(mapped(map, LV2_ATOM__String)),
      midiEvent(mapped(map, LV2_MIDI__MidiEvent)), timePosition(mapped(map, LV2_TIME__Position)),
      timeBeatsPerMinute(mapped(map, LV2_TIME__beatsPerMinute)), stateBank(mapped(map, kStateBank)),
      stateChanged(mapped(map, LV2_STATE__StateChanged)) {}

} // namespace grelmond::lv2
