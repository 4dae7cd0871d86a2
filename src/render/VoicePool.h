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

    // Voices that made room and are fading out, beside the full list.
    static constexpr int kFadeSlots = 8;
    // Frames of scratch for a fading voice's sub-block.
    static constexpr int kFadeFrames = 4096;

    // Starts a voice; with every slot taken, the oldest voice whose note-off has
    // arrived makes room, and without one the note is dropped (null). The voice
    // that makes room fades out over about 2 ms, ending by the new note's frame
    // (or 2 ms into the next render when the note starts earlier; the
    // instrument starts each note at its own frame, so there the fade runs
    // from the note's frame on).
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
    int fadingCount() const { return fadingCount_; }

private:
    struct Fade {
        Voice* voice = nullptr;
        int noteFrame = 0; // the new note's frame, counted from the next render
        int start = -1;    // first frame of the fade; -1 until the first render
        int length = 0;
        int elapsed = 0;   // frames rendered since the fade was set
    };

    // fadeUntil: the new note's frame, or -1 to end the voice at once.
    bool makeRoom(int fadeUntil);
    int oldestReleased() const;
    void remove(int index);
    void renderFading(float* left, float* right, const VoiceRenderInput& input);
    bool renderFade(Fade& fade, float* left, float* right, const VoiceRenderInput& input);
    void endFade(int index);

    SampleStore* store_ = nullptr;
    HeldNotes* held_ = nullptr;
    std::array<Voice*, kCapacity> voices_{};
    int count_ = 0;
    VoiceBatch batch_;
    std::array<Fade, kFadeSlots> fading_{};
    int fadingCount_ = 0;
    std::array<float, kFadeFrames> scratch_{};
};

} // namespace grelmond
