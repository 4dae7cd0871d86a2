#pragma once

#include "engine/BandPassLanes.h"
#include "engine/LadderLanes.h"
#include "engine/OscillatorLanes.h"
#include "engine/ProcLanes.h"
#include "engine/SimdPath.h"
#include "engine/Voice.h"

#include <cstdint>
#include <vector>

namespace grelmond {

class Voice;
struct VoiceRenderInput;

// Renders a pool's voices in SIMD lanes, up to sixteen side by side: their
// oscillators, then their proc functions, then their ladders; the outputs are
// added in pool order, so the mix is the one Voice::render gives, sample for
// sample. A group's voices share their proc function, a band-pass bank alone
// (BandPassLanes) or any other (ProcLanes, random draws taken ahead in pool
// order). A voice that starts inside the call, or is
// alone in its group, renders through its own frame loop.
// Constructed off the audio thread; render() never allocates.
class VoiceBatch {
public:
    // The longest render call batched; longer ones go voice by voice.
    static constexpr int kMaxFrames = 4096;

    VoiceBatch();

    void setPath(SimdPath path);
    SimdPath path() const { return path_; }

    // Same contract as calling Voice::render on each voice in turn.
    void render(Voice* const* voices, int count, float* left, float* right, const VoiceRenderInput& in);

private:
    // Voices per group: two AVX2 groups of eight, or two SSE2 groups of four
    // whose ladders run interleaved.
    int width() const { return path_ == SimdPath::Avx2 ? LadderLanes::kLanes : 8; }
    void readSwitches(const VoiceRenderInput& in, int frames);
    void runOscillators(int n, int upper);
    void flush(float* left, float* right, const VoiceRenderInput& in);
    void clearLane(int lane);
    bool fitsGroup(Voice* voice, const Voice::DryBlock& block) const;
    void runBanks(int n, int upper);
    void runProcs(int n, int upper);
    // The proc function a group shares when it runs in ProcLanes, -1 for a bank alone.
    static int laneFunction(const Voice* voice, const Voice::DryBlock& block);
    void runLadders(int n, const LadderLanes::Frames& f);
    void addToOutputs(float* l, float* r, int n) const;

    SimdPath path_ = SimdPath::Scalar;
    OscillatorLanes oscillators_;
    LadderLanes lanes_;
    BandPassLanes banks_;
    ProcLanes procs_{kMaxFrames};
    bool groupBank_ = false; // the group's voices left their band-pass banks to the lanes
    int groupProc_ = -1;     // laneFunction() of the group's voices
    Voice* laneVoice_[LadderLanes::kLanes] = {};
    Voice::DryBlock laneBlock_[LadderLanes::kLanes] = {};
    int used_ = 0;
    bool switchesRead_ = false; // this call's filter switches, read by the first group in lanes
    int frames_ = 0;
    std::vector<float> dry_, third_, amp_, wet_;
    std::vector<std::uint8_t> run_, highPass_;
};

} // namespace grelmond
