#include "render/VoicePool.h"

#include "engine/Voice.h"
#include "render/HeldNotes.h"
#include "engine/SampleStore.h"

#include <algorithm>

namespace grelmond {

void VoicePool::attach(SampleStore* store, HeldNotes* held)
{
    store_ = store;
    held_ = held;
}

namespace {

constexpr double fadeSeconds = 0.002;

static_assert(SampleStore::voiceSlots >= VoicePool::kCapacity + VoicePool::kFadeSlots,
              "the store holds the fading voices beside a full list");

// 1 before the fade, 0 after it, a smooth S-curve between.
float fadeGain(int frame, int start, int length)
{
    if (frame < start)
        return 1.0f;
    if (frame >= start + length)
        return 0.0f;
    const float s = static_cast<float>(frame - start + 1) / static_cast<float>(length);
    return 1.0f - s * s * (3.0f - 2.0f * s);
}

} // namespace

Voice* VoicePool::start(int velocity, int note, int startDelay, float pitchBend)
{
    if (store_ == nullptr || (count_ == kCapacity && !makeRoom(std::max(startDelay, 0))))
        return nullptr;
    Voice* voice = store_->createVoice(velocity, note, startDelay);
    if (voice == nullptr && makeRoom(-1))
        voice = store_->createVoice(velocity, note, startDelay);
    if (voice == nullptr)
        return nullptr;
    voice->setPitchBend(pitchBend);
    voices_[count_++] = voice;
    return voice;
}

int VoicePool::oldestReleased() const
{
    for (int i = 0; i < count_; ++i)
        if (voices_[i]->noteOffPending())
            return i;
    return -1;
}

bool VoicePool::makeRoom(int fadeUntil)
{
    const int index = oldestReleased();
    if (index < 0)
        return false;
    // Without a free fade slot the voice ends at once, as it always did.
    if (fadeUntil < 0 || fadingCount_ == kFadeSlots) {
        remove(index);
        return true;
    }
    Voice* voice = voices_[index];
    if (held_ != nullptr)
        held_->forget(voice);
    std::copy(voices_.begin() + index + 1, voices_.begin() + count_, voices_.begin() + index);
    voices_[--count_] = nullptr;
    fading_[fadingCount_++] = Fade{voice, fadeUntil};
    return true;
}

void VoicePool::remove(int index)
{
    Voice* voice = voices_[index];
    if (held_ != nullptr)
        held_->forget(voice);
    store_->destroyVoice(voice);
    std::copy(voices_.begin() + index + 1, voices_.begin() + count_, voices_.begin() + index);
    voices_[--count_] = nullptr;
}

void VoicePool::releaseKey(int note, int deltaFrames)
{
    for (int i = 0; i < count_; ++i)
        if (voices_[i]->note() == note && !voices_[i]->noteOffPending())
            voices_[i]->noteOff(deltaFrames);
}

void VoicePool::holdKey(int note)
{
    if (held_ == nullptr)
        return;
    for (int i = 0; i < count_; ++i)
        if (voices_[i]->note() == note && !voices_[i]->noteOffPending())
            held_->hold(voices_[i]);
}

void VoicePool::releaseAll(int deltaFrames)
{
    for (int i = 0; i < count_; ++i)
        voices_[i]->noteOff(deltaFrames);
}

void VoicePool::setPitchBendAll(float value)
{
    for (int i = 0; i < count_; ++i)
        voices_[i]->setPitchBend(value);
}

void VoicePool::setModWheelAll(float value)
{
    for (int i = 0; i < count_; ++i)
        voices_[i]->setModWheel(value);
}

void VoicePool::removeFinished()
{
    int kept = 0;
    for (int i = 0; i < count_; ++i) {
        Voice* voice = voices_[i];
        if (voice->finished()) {
            if (held_ != nullptr)
                held_->forget(voice);
            store_->destroyVoice(voice);
        } else {
            voices_[kept++] = voice;
        }
    }
    std::fill(voices_.begin() + kept, voices_.begin() + count_, nullptr);
    count_ = kept;
}

void VoicePool::renderAll(float* left, float* right, const VoiceRenderInput& input)
{
    batch_.render(voices_.data(), count_, left, right, input);
    if (fadingCount_ > 0)
        renderFading(left, right, input);
}

void VoicePool::renderFading(float* left, float* right, const VoiceRenderInput& input)
{
    for (int i = 0; i < fadingCount_;) {
        if (renderFade(fading_[i], left, right, input))
            ++i;
        else
            endFade(i);
    }
}

// Renders a fading voice into the scratch and adds it under its fade; false
// once the fade (or the voice) is over.
bool VoicePool::renderFade(Fade& fade, float* left, float* right, const VoiceRenderInput& input)
{
    const int frames = std::max(input.frames, 0);
    if (input.outOffset < 0 || input.outOffset + frames > kFadeFrames)
        return false;
    if (fade.start < 0) {
        const double rate = std::max(input.sampleRate, 1);
        fade.length = std::max(1, static_cast<int>(rate * fadeSeconds + 0.5));
        fade.start = std::max(fade.noteFrame, fade.length) - fade.length;
    }
    float* buffer = scratch_.data() + input.outOffset;
    std::fill_n(buffer, frames, 0.0f);
    // The voice adds itself to both channels; with one buffer for both that is twice.
    const bool alive = fade.voice->render(scratch_.data(), scratch_.data(), input);
    for (int i = 0; i < frames; ++i) {
        const float v = 0.5f * buffer[i] * fadeGain(fade.elapsed + i, fade.start, fade.length);
        left[input.outOffset + i] += v;
        right[input.outOffset + i] += v;
    }
    fade.elapsed += frames;
    return alive && fade.elapsed < fade.start + fade.length;
}

void VoicePool::endFade(int index)
{
    store_->destroyVoice(fading_[index].voice);
    std::copy(fading_.begin() + index + 1, fading_.begin() + fadingCount_, fading_.begin() + index);
    fading_[--fadingCount_] = Fade{};
}

void VoicePool::clear()
{
    while (fadingCount_ > 0)
        endFade(fadingCount_ - 1);
    while (count_ > 0)
        remove(count_ - 1);
    if (held_ != nullptr)
        held_->clear();
}

} // namespace grelmond
