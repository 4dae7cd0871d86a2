#include "formats/lv2/AtomEventReader.h"

#include <lv2/atom/util.h>

#include <cmath>

namespace grelmond::lv2 {

void AtomEventReader::read(const LV2_Atom_Sequence* sequence, uint32_t frames, Handler& handler) const {
  if (sequence == nullptr || sequence->atom.type != uris_.atomSequence)
    return;
  const uint32_t last = frames > 0 ? frames - 1 : 0;
  const auto* end = reinterpret_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&sequence->atom)) + sequence->atom.size;
  LV2_ATOM_SEQUENCE_FOREACH (sequence, event) {
    // An event running past the sequence's end is garbage: stop there.
    if (reinterpret_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&event->body)) + event->body.size > end)
      return;
    const int64_t time = event->time.frames;
    const uint32_t frame = time < 0 ? 0 : time > last ? last : static_cast<uint32_t>(time);
    const LV2_Atom& body = event->body;
    if (body.type == uris_.midiEvent) {
      handler.midi(frame, static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&body)), body.size);
    } else if (body.type == uris_.atomObject || body.type == uris_.atomBlank) {
      const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&body);
      double bpm = 0.0;
      if (object->body.otype == uris_.timePosition) {
        if (readTempo(object, bpm))
          handler.tempo(frame, bpm);
      } else {
        handler.other(frame, &body);
      }
    } else {
      handler.other(frame, &body);
    }
  }
}

bool AtomEventReader::readTempo(const LV2_Atom_Object* object, double& beatsPerMinute) const {
  const LV2_Atom* value = nullptr;
  lv2_atom_object_get(object, uris_.timeBeatsPerMinute, &value, 0);
  if (value == nullptr)
    return false;
  if (value->type == uris_.atomFloat && value->size >= sizeof(float))
    beatsPerMinute = reinterpret_cast<const LV2_Atom_Float*>(value)->body;
  else if (value->type == uris_.atomDouble && value->size >= sizeof(double))
    beatsPerMinute = reinterpret_cast<const LV2_Atom_Double*>(value)->body;
  else
    return false;
  // A position without a usable tempo leaves the last one in place.
  return std::isfinite(beatsPerMinute) && beatsPerMinute > 0.0;
}

} // namespace grelmond::lv2
