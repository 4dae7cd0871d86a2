#pragma once

#include "render/MidiEvent.h"

namespace grelmond {

// The events the instrument takes: plain MIDI with frame offsets.
using InstrumentEvent = MidiEvent;

} // namespace grelmond
