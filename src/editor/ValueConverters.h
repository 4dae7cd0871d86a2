#pragma once

namespace grelmond {

// The texts the editor's value displays show for a normalised value v. Each
// writes into a buffer of at least kValueTextSize characters.
inline constexpr int kValueTextSize = 256;

// Ensemble detune, 0 to 100.
void detuneText(float v, char* text);
// Ensemble copies per voice: the copies of one oscillator times the number of
// oscillators that sound (volume above 0).
void unisonText(float v, int soundingOscillators, char* text);
// Delay time in seconds: a full time is 48000 samples at 44.1 kHz, as long at
// every rate; nothing is shown before the rate is known.
void delayTimeText(float v, float sampleRate, char* text);
// Delay time as a note value while the delay follows the host's tempo.
void noteValueText(float v, char* text);
// Feedback and mix, 0 to 100.
void percentText(float v, char* text);
// Number and name of the processor function; empty outside the 26 functions.
void functionNameText(float v, char* text);
// Program number 1-64 of a program position (index / 64); empty for a
// position that is no exact multiple of 1/64.
void programNumberText(float v, char* text);

} // namespace grelmond
