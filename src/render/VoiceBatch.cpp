#include "render/VoiceBatch.h"

#include <algorithm>

namespace grelmond {

VoiceBatch::VoiceBatch()
    : path_(chooseSimdPath()),
      dry_(static_cast<std::size_t>(kMaxFrames) * LadderLanes::kLanes, 0.0f),
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
        const Voice::DryBlock block = voice->renderDry(dry_.data() + lane, LadderLanes::kLanes, in);
        if (!block.rendered)
            continue;
        if (block.start > 0) {
            // Starts inside this call (rare: its first one). The voices before it
            // are added first, so the outputs are summed in pool order.
            flush(left, right, in);
            renderLate(voice, lane, block, left, right, in);
            continue;
        }
        lanes_.load(lane, voice->filter(), block.denormal);
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
    float d = block.denormal;
    for (int i = block.start; i < frames_; ++i) {
        d = -d;
        const std::size_t at = static_cast<std::size_t>(i) * LadderLanes::kLanes + static_cast<std::size_t>(lane);
        float v = dry_[at];
        if (run_[static_cast<std::size_t>(i)])
            v = filter.process(v, d, highPass_[static_cast<std::size_t>(i)] != 0);
        left[in.outOffset + i] += v;
        right[in.outOffset + i] += v;
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
    LadderLanes::Frames f;
    f.x = dry_.data();
    f.y = wet_.data();
    f.run = run_.data();
    f.highPass = highPass_.data();
    f.count = frames_;

    // Unused lanes run on zero state; their outputs are never read.
    const int upper = path_ == SimdPath::Avx2 && n > 4 ? LadderLanes::kLanes : (n + 3) / 4 * 4;
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
