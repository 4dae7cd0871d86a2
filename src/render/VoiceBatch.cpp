#include "render/VoiceBatch.h"

#include <algorithm>

namespace grelmond {

VoiceBatch::VoiceBatch()
    : path_(chooseSimdPath()),
      dry_(static_cast<std::size_t>(kMaxFrames) * LadderLanes::kLanes, 0.0f),
      third_(dry_.size(), 0.0f),
      amp_(dry_.size(), 0.0f),
      wet_(dry_.size(), 0.0f),
      run_(kMaxFrames, 0),
      highPass_(kMaxFrames, 0)
{
    for (int lane = 0; lane < LadderLanes::kLanes; ++lane)
        clearLane(lane);
}

void VoiceBatch::setPath(SimdPath path)
{
    path_ = simdPathAvailable(path) ? path : SimdPath::Scalar;
}

void VoiceBatch::render(Voice* const* voices, int count, float* left, float* right, const VoiceRenderInput& in)
{
    frames_ = std::max(in.frames, 0);
    if (count <= 0)
        return; // silence costs no per-frame switch reading
    if (path_ == SimdPath::Scalar || frames_ > kMaxFrames) {
        for (int k = 0; k < count; ++k)
            voices[k]->render(left, right, in);
        return;
    }
    switchesRead_ = false;
    used_ = 0;
    for (int k = 0; k < count; ++k) {
        Voice* voice = voices[k];
        const Voice::DryBlock block = voice->beginBlock(in);
        if (!block.rendered)
            continue;
        if (block.start > 0) {
            // Starts inside this call (rare: its first one). The voices before it
            // are added first, so the outputs are summed in pool order.
            flush(left, right, in);
            voice->renderBegun(block, left, right, in);
            continue;
        }
        if (!fitsGroup(voice, block))
            flush(left, right, in);
        if (used_ == 0) {
            groupBank_ = block.bankLeft;
            groupProc_ = laneFunction(voice, block);
            banks_.active = block.bankLeft ? voice->bank().activeSections() : 0;
        }
        if (groupBank_)
            banks_.load(used_, voice->bank(), block.denormal);
        lanes_.load(used_, voice->filter(), block.denormal);
        voice->loadLane(oscillators_, used_);
        laneVoice_[used_] = voice;
        laneBlock_[used_++] = block;
        if (used_ == width())
            flush(left, right, in);
    }
    flush(left, right, in);
}

void VoiceBatch::readSwitches(const VoiceRenderInput& in, int frames)
{
    // Read once per frame for every voice; the voice-by-voice path reads them
    // once per frame and voice, which differs only while a value is changing.
    for (int i = 0; i < frames; ++i) {
        const bool runs = Voice::filterRuns(in.mirror);
        run_[static_cast<std::size_t>(i)] = runs;
        highPass_[static_cast<std::size_t>(i)] = runs && Voice::filterHighPass(in.mirror);
    }
}

int VoiceBatch::laneFunction(const Voice* voice, const Voice::DryBlock& block)
{
    const int function = voice->procFunction();
    return !block.bankLeft && ProcLanes::handles(function) ? function : -1;
}

bool VoiceBatch::fitsGroup(Voice* voice, const Voice::DryBlock& block) const
{
    if (used_ == 0)
        return true;
    return block.bankLeft == groupBank_ && (!groupBank_ || voice->bank().activeSections() == banks_.active)
        && laneFunction(voice, block) == groupProc_;
}

void VoiceBatch::runOscillators(int n, int upper)
{
    OscillatorLanes::Frames f;
    f.mix = dry_.data();
    f.third = third_.data();
    f.amp = amp_.data();
    f.count = frames_;
    for (int lane = n; lane < upper; ++lane)
        oscillators_.clear(lane);
    for (int first = 0; first < n;) {
        if (path_ == SimdPath::Avx2 && n - first > 4) {
            oscillators_.run8(first, f);
            first += 8;
        } else {
            oscillators_.run4(first, f);
            first += 4;
        }
    }
    for (int lane = 0; lane < n; ++lane)
        laneVoice_[lane]->storeLane(oscillators_, lane);
}

void VoiceBatch::runBanks(int n, int upper)
{
    BandPassLanes::Frames f;
    f.mix = dry_.data();
    f.third = third_.data();
    f.amp = amp_.data();
    f.out = wet_.data();
    f.count = frames_;
    for (int lane = n; lane < upper; ++lane)
        banks_.clear(lane);
    for (int first = 0; first < n;) {
        if (path_ == SimdPath::Avx2 && n - first > 4) {
            banks_.run8(first, f);
            first += 8;
        } else {
            banks_.run4(first, f);
            first += 4;
        }
    }
    for (int lane = 0; lane < n; ++lane)
        banks_.store(lane, laneVoice_[lane]->bank());
}

void VoiceBatch::runProcs(int n, int upper)
{
    procs_.function = groupProc_;
    // In pool order: the lanes' random draws come in the voices' own order.
    for (int lane = 0; lane < n; ++lane)
        laneVoice_[lane]->loadProcLane(procs_, lane, laneBlock_[lane], frames_);
    for (int lane = n; lane < upper; ++lane)
        procs_.clear(lane);
    ProcLanes::Frames f;
    f.mix = dry_.data();
    f.third = third_.data();
    f.amp = amp_.data();
    f.count = frames_;
    for (int first = 0; first < n;) {
        if (path_ == SimdPath::Avx2 && n - first > 4) {
            procs_.run8(first, f);
            first += 8;
        } else {
            procs_.run4(first, f);
            first += 4;
        }
    }
    for (int lane = 0; lane < n; ++lane)
        laneVoice_[lane]->storeProcLane(procs_, lane);
}

void VoiceBatch::runLadders(int n, const LadderLanes::Frames& f)
{
    if (path_ == SimdPath::Avx2 && n > 8) {
        lanes_.run16(f);
    } else if (n > 4) {
        if (path_ == SimdPath::Avx2)
            lanes_.run8(0, f);
        else
            lanes_.run8Sse2(0, f);
    } else {
        lanes_.run4(0, f);
    }
}

void VoiceBatch::clearLane(int lane)
{
    for (float* p : {lanes_.e1, lanes_.e2, lanes_.y0, lanes_.y1, lanes_.y2, lanes_.y3, lanes_.y4, lanes_.envCut,
                     lanes_.baseCut, lanes_.res, lanes_.d})
        p[lane] = 0.0f;
}

void VoiceBatch::flush(float* left, float* right, const VoiceRenderInput& in)
{
    const int n = used_;
    if (n == 0)
        return;
    used_ = 0;
    if (n == 1) {
        // A voice alone runs faster through its own frame loop than in lanes.
        laneVoice_[0]->renderBegun(laneBlock_[0], left, right, in);
        return;
    }
    if (!switchesRead_) {
        readSwitches(in, frames_);
        switchesRead_ = true;
    }
    // Unused lanes up to the end of the last group run on zero state; their
    // outputs are never read.
    const int upper = n > 8 ? LadderLanes::kLanes : (n > 4 ? 8 : 4);
    runOscillators(n, upper);
    if (groupBank_)
        runBanks(n, upper);
    else
        runProcs(n, upper);
    LadderLanes::Frames f;
    f.x = groupBank_ ? wet_.data() : dry_.data();
    f.y = wet_.data();
    f.run = run_.data();
    f.highPass = highPass_.data();
    f.count = frames_;
    for (int lane = n; lane < upper; ++lane)
        clearLane(lane);
    runLadders(n, f);
    for (int lane = 0; lane < n; ++lane)
        lanes_.store(lane, laneVoice_[lane]->filter());

    addToOutputs(left + in.outOffset, right + in.outOffset, n);
    for (int lane = 0; lane < n; ++lane)
        laneVoice_[lane]->endBlock(laneBlock_[lane], in);
}

} // namespace grelmond

namespace grelmond {

void VoiceBatch::addToOutputs(float* l, float* r, int n) const
{
    if (l == r) {
        // One buffer for both sides takes every voice twice, as Voice::render gives it.
        for (int i = 0; i < frames_; ++i) {
            const float* y = wet_.data() + static_cast<std::size_t>(i) * LadderLanes::kLanes;
            for (int lane = 0; lane < n; ++lane) {
                l[i] += y[lane];
                l[i] += y[lane];
            }
        }
        return;
    }
    for (int i = 0; i < frames_; ++i) {
        const float* y = wet_.data() + static_cast<std::size_t>(i) * LadderLanes::kLanes;
        float a = l[i];
        float b = r[i];
        for (int lane = 0; lane < n; ++lane) {
            a += y[lane];
            b += y[lane];
        }
        l[i] = a;
        r[i] = b;
    }
}

} // namespace grelmond
