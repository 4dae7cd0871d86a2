#pragma once

// Measures of rendered sound that the factory bank is balanced by: loudness as
// a listener's meter shows it, peak, DC offset and the pitch of a held tone.

#include <cstddef>
#include <vector>

namespace bankmeter {

// Highest momentary loudness (400 ms windows, every 100 ms, K-weighted) of
// interleaved stereo, in LUFS; -HUGE_VAL when silent or when the meter fails.
double momentaryMaxLufs(const std::vector<float>& stereo, double sampleRate);

// Largest absolute sample of either channel.
double samplePeak(const std::vector<float>& stereo);

// DC of the channel with the larger offset, relative to that channel's RMS,
// in dB; -HUGE_VAL for silence or no offset.
double dcRelativeDb(const std::vector<float>& stereo);

// Mean fundamental of `mono` between frames `from` and `to`, for a tone known
// to lie within a semitone of `nearHz`: the phase drift of that partial. Zero
// when the partial is weak, or when a partial an octave below is present (the
// tone then sounds an octave lower than `nearHz`).
double fundamentalNear(const std::vector<float>& mono, double sampleRate, double nearHz, std::size_t from,
                       std::size_t to);

// Interval from `referenceHz` to `hz` in cents.
double cents(double hz, double referenceHz);

} // namespace bankmeter
