#pragma once

// One factory program as a readable design: a name, a line for the preset
// list, its main volume and the parameter values that differ from the
// defaults, each named by its bank key ("osc1 vol", "filt cutoff").

#include <string>
#include <vector>

namespace bankgen {

struct Setting {
    const char* key;
    float value;
};

using Settings = std::vector<Setting>;

struct ProgramDesign {
    const char* name;        // at most 23 characters
    const char* description; // one line for the preset list
    float volume;            // "volume": levels are balanced across the bank with it
    Settings settings;       // applied over the defaults in order; a later key wins
};

struct Family {
    const char* name;
    std::vector<ProgramDesign> programs; // eight each
};

// Settings joined, the right-hand ones applied last.
Settings operator+(Settings a, const Settings& b);

// Value of an oscillator shape by its switch name: "Sine", "Puls", "Saw", "Sqre".
float shape(const std::string& name);

// Value of the proc function shown as `name` ("11 Noise"); the value sits in
// the middle of its step so that the bank file's three decimals keep it there.
float proc(const std::string& name);

// Value of a coarse offset in semitones; only multiples of 3 are exact in three
// decimals, so intervals in between take the fine knob's whole semitone.
float coarse(int semitones);

// Value of "total num of osc" for a number of ensemble copies, 0 to 10.
float copies(int count);

// What the defaults switch on (ensemble, flanger, both delays, a full filter
// LFO sweep, the in-voice flanging) all off, the filter opened, and every
// oscillator at concert pitch (the defaults tune them 13 semitones down): a key
// sounds an octave above its MIDI pitch with no offset (note 57 at 440 Hz), so
// the oscillators sit an octave down and A4, note 69, plays 440 Hz. Designs
// start from this and add only what they use; an oscillator set an octave
// below this keeps the others at no offset, so that it sounds the pitch.
extern const Settings kDry;

} // namespace bankgen
