#pragma once

// The pitches of the notes in a recording of single sine notes played one
// after another.

#include <vector>

namespace ardourtest {

// One frequency (Hz) per stretch, in order, where the signal holds one pitch
// for at least minSeconds; onsets, releases and overlapping tails, whose
// pitch moves or mixes, are left out.
std::vector<double> heldPitches(const std::vector<float>& mono, double sampleRate, double minSeconds = 0.1);

} // namespace ardourtest
