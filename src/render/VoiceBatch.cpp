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
    if (path_ == SimdPath::Scalar || frames_ > kMaxFrames) {
        for (int k = 0; k < count; ++k)
            voices[k]->render(left, right, in);
        return;
    }
    readSwitches(in, frames_);
    used_ = 0;
    for (int k = 0; k < count; ++k) {
        Voice* voice = voices[k];
        const int lane = used_;
        const Voice::DryBlock block = voice->renderDryWithoutBank(dry_.data() + lane, third_.data() + lane,
                                                                  amp_.data() + lane, LadderLanes::kLanes, in);
        if (!block.rendered)
            continue;
        if (block.start > 0) {
            // Starts inside this call (rare: its first one). The voices before it
            // are added first, so the outputs are summed in pool order.
            flush(left, right, in);
            renderLate(voice, lane, block, left, right, in);
            continue;
        }
        if (!fitsGroup(voice, block)) {
            flush(left, right, in);
            moveLane(lane, 0);
        }
        if (used_ == 0) {
            groupBank_ = block.bankLeft;
            banks_.active = block.bankLeft ? voice->bank().activeSections() : 0;
        }
        if (groupBank_)
            banks_.load(used_, voice->bank(), block.denormal);
        lanes_.load(used_, voice->filter(), block.denormal);
        laneVoice_[used_++] = voice;
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

void VoiceBatch::renderLate(Voice* voice, int lane, const Voice::DryBlock& block, float* left, float* right,
                            const VoiceRenderInput& in)
{
    LadderFilter& filter = voice->filter();
    ProcBandPassBank& bank = voice->bank();
    float d = block.denormal;
    for (int i = block.start; i < frames_; ++i) {
        d = -d;
        const std::size_t at = static_cast<std::size_t>(i) * LadderLanes::kLanes + static_cast<std::size_t>(lane);
        float v = dry_[at];
        if (block.bankLeft) {
            v = bank.process(v, d) + third_[at];
            v *= amp_[at];
        }
        if (run_[static_cast<std::size_t>(i)])
            v = filter.process(v, d, highPass_[static_cast<std::size_t>(i)] != 0);
        left[in.outOffset + i] += v;
        right[in.outOffset + i] += v;
    }
}

bool VoiceBatch::fitsGroup(Voice* voice, const Voice::DryBlock& block) const
{
    if (used_ == 0)
        return true;
    return block.bankLeft == groupBank_ && (!groupBank_ || voice->bank().activeSections() == banks_.active);
}

void VoiceBatch::moveLane(int from, int to)
{
    if (from == to)
        return;
    for (std::vector<float>* v : {&dry_, &third_, &amp_})
        for (int i = 0; i < frames_; ++i) {
            const std::size_t row = static_cast<std::size_t>(i) * LadderLanes::kLanes;
            (*v)[row + static_cast<std::size_t>(to)] = (*v)[row + static_cast<std::size_t>(from)];
        }
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
    if (upper == LadderLanes::kLanes && path_ == SimdPath::Avx2 && n > 4) {
        banks_.run8(f);
    } else {
        for (int first = 0; first < n; first += 4) {
            if (n - first >= 2)
                banks_.run4(first, f);
            else
                banks_.runOne(first, laneVoice_[first]->bank(), f);
        }
    }
    for (int lane = 0; lane < n; ++lane)
        if (!(n % 4 == 1 && lane == n - 1 && !(path_ == SimdPath::Avx2 && n > 4)))
            banks_.store(lane, laneVoice_[lane]->bank());
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
    // Unused lanes run on zero state; their outputs are never read.
    const int upper = path_ == SimdPath::Avx2 && n > 4 ? LadderLanes::kLanes : (n + 3) / 4 * 4;
    if (groupBank_)
        runBanks(n, upper);
    LadderLanes::Frames f;
    f.x = groupBank_ ? wet_.data() : dry_.data();
    f.y = wet_.data();
    f.run = run_.data();
    f.highPass = highPass_.data();
    f.count = frames_;

    for (int lane = n; lane < upper; ++lane)
        clearLane(lane);
    bool single = false;
    if (upper == LadderLanes::kLanes && path_ == SimdPath::Avx2 && n > 4) {
        lanes_.run8(f);
    } else {
        for (int first = 0; first < n; first += 4) {
            if (n - first >= 2) {
                lanes_.run4(first, f);
            } else {
                // One voice alone goes through its own filter: a lane group
                // would cost more than it saves.
                lanes_.runOne(first, laneVoice_[first]->filter(), f);
                single = true;
            }
        }
    }
    for (int lane = 0; lane < n; ++lane)
        if (!(single && lane == n - 1))
            lanes_.store(lane, laneVoice_[lane]->filter());

    float* l = left + in.outOffset;
    float* r = right + in.outOffset;
    for (int i = 0; i < frames_; ++i) {
        const float* y = wet_.data() + static_cast<std::size_t>(i) * LadderLanes::kLanes;
        for (int lane = 0; lane < n; ++lane) {
            l[i] += y[lane];
            r[i] += y[lane];
        }
    }
}

} // namespace grelmond
