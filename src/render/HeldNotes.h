#pragma once

#include <array>

namespace grelmond {

class Voice;

// Voices whose note-off arrived while the sustain pedal was down. An entry
// becomes null when its voice ends first. Audio thread only.
class HeldNotes {
public:
    static constexpr int kCapacity = 256;

    // Adds a voice once; a voice already held is not added again, so at most
    // one entry per sounding voice is live and the list never overflows.
    void hold(Voice* voice);
    void forget(const Voice* voice);
    void clear() { count_ = 0; }

    int size() const { return count_; }
    Voice* operator[](int i) const { return entries_[i]; }

private:
    void compact();

    std::array<Voice*, kCapacity> entries_{};
    int count_ = 0;
};

} // namespace grelmond
