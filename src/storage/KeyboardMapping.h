#pragma once

#include "storage/ScalaText.h"

#include <string_view>
#include <vector>

namespace grelmond {

// A Scala .kbm keyboard mapping: which scale degree each MIDI key plays and
// the frequency of one reference key.
class KeyboardMapping {
public:
    static constexpr int kUnmapped = -1000000;
    static constexpr long long kNoDegree = -1000000000LL;

    // Every key one degree apart, degree 0 on note 60, tuned as equal
    // temperament's middle C (note 69 at 440 Hz).
    static KeyboardMapping standard();

    // Reads text into mapping; on refusal mapping is left as it was.
    static ScalaStatus parse(std::string_view text, KeyboardMapping& mapping);

    // The key's scale degree, or kNoDegree for an unmapped key or one outside
    // the retuned range. octaveDegree is the scale's size when the mapping's is 0.
    long long degree(int key, int scaleSize) const;
    // The same ignoring the retuned range: the reference key's degree.
    long long patternDegree(int key, int scaleSize) const;

    int referenceKey() const { return reference_; }
    double referenceFrequency() const { return frequency_; }
    // Equal temperament's pitch of the reference frequency, in semitones (note 69 = 440 Hz).
    double referencePitch() const;

private:
    int size_ = 0;
    int first_ = 0;
    int last_ = 127;
    int middle_ = 60;
    int reference_ = 60;
    double frequency_ = 0.0; // 0: equal temperament's pitch of the reference key
    int octaveDegree_ = 0;
    std::vector<int> map_;   // size_ entries or fewer; the missing ones unmapped
};

} // namespace grelmond
