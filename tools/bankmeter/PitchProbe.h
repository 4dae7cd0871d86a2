#pragma once

// How a program's tuning is heard on its own: the program's lowest sounding
// oscillator alone, with the processor, filter, vibrato and global effects
// out of the way, so that what remains is that oscillator's waveform at the
// played key.

#include <functional>
#include <utility>
#include <vector>

namespace bankmeter {

using ParameterChange = std::pair<int, float>;

// The lowest sounding oscillator (0 to 2) of a program whose parameter values
// `value` returns; -1 when no oscillator sounds.
int lowestOscillator(const std::function<float(int)>& value);

// The parameter changes, applied over the program, that leave only that
// oscillator sounding, dry and held at full level.
std::vector<ParameterChange> pitchProbe(const std::function<float(int)>& value);

} // namespace bankmeter
