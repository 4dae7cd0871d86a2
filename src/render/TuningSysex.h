#pragma once

#include <cstddef>

namespace grelmond {

class TuningTable;

// MIDI Tuning Standard messages: the single-note tuning change (real-time, and
// the bank forms) and the bulk tuning dump (with or without a bank). Every
// device id and tuning program is accepted: an instance has one tuning.
namespace TuningSysex {

// Applies one system-exclusive message (with or without its F0 and F7) to
// table; false, table unchanged, for any other message or a malformed one.
// Never reads outside data[0..size).
bool apply(const unsigned char* data, std::size_t size, TuningTable& table);

} // namespace TuningSysex

} // namespace grelmond
