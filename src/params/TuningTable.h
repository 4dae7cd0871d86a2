#pragma once

#include <array>

namespace grelmond {

// The pitch of every MIDI note as its distance from equal temperament, in
// semitones, and whether the note sounds at all. A plain value: copied whole
// from the user-interface side to the audio thread, never shared while written.
class TuningTable {
public:
    static constexpr int kNotes = 128;
    // How far a note may be moved, well inside what the oscillators can fold.
    static constexpr float kMaxDeviation = 128.0f;

    TuningTable() { reset(); }

    // Equal temperament: every note where it is.
    void reset();
    // A note's pitch as semitones from equal temperament (held to ±kMaxDeviation;
    // a non-finite value leaves the note in equal temperament) and mapped.
    void set(int note, double deviation);
    // A note that starts no voice.
    void unmap(int note);

    float deviation(int note) const { return inRange(note) ? deviation_[static_cast<unsigned>(note)] : 0.0f; }
    bool mapped(int note) const { return inRange(note) && mapped_[static_cast<unsigned>(note)]; }
    bool isEqualTemperament() const;

    bool operator==(const TuningTable&) const = default;

private:
    static bool inRange(int note) { return note >= 0 && note < kNotes; }

    std::array<float, kNotes> deviation_;
    std::array<bool, kNotes> mapped_;
};

} // namespace grelmond
