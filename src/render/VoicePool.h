#pragma once

#include "render/VoiceBatch.h"

#include <array>

namespace grelmond {

class HeldNotes;
class SampleStore;
class Voice;
struct VoiceRenderInput;

// The sounding voices in the order they were started. Voices come from the
// sample store's preallocated set and go back to it when they end, so the
// audio thread never allocates. Audio thread only, after attach().
class VoicePool {
public:
    static constexpr int kCapacity = 128;

    void attach(SampleStore* store, HeldNotes* held);

    // Starts a voice; with every slot taken, the oldest voice whose note-off has
    // arrived makes room, and without one the note is dropped (null).
    Voice* start(int velocity, int note, int startDelay, float pitchBend);

    void releaseKey(int note, int deltaFrames);
    void holdKey(int note);
    void releaseAll(int deltaFrames);
    void setPitchBendAll(float value);
    void setModWheelAll(float value);
    void removeFinished();
    void renderAll(float* left, float* right, const VoiceRenderInput& input);
    // Ends every voice at once (instance shutdown).
    void clear();

    // Voice by voice (the reference) or with the ladders in SIMD lanes.
    void setSimdPath(SimdPath path) { batch_.setPath(path); }
    SimdPath simdPath() const { return batch_.path(); }

    int size() const { return count_; }
    Voice* operator[](int i) const { return voices_[i]; }

private:
    bool makeRoom();
    void remove(int index);

    SampleStore* store_ = nullptr;
    HeldNotes* held_ = nullptr;
    std::array<Voice*, kCapacity> voices_{};
    int count_ = 0;
    VoiceBatch batch_;
};

} // namespace grelmond
