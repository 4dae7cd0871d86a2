#include "render/VoicePool.h"

#include "engine/Voice.h"
#include "render/HeldNotes.h"
#include "storage/SampleStore.h"

#include <algorithm>

namespace grelmond {

void VoicePool::attach(SampleStore* store, HeldNotes* held)
{
    store_ = store;
    held_ = held;
}

Voice* VoicePool::start(int velocity, int note, int startDelay, float pitchBend)
{
    if (store_ == nullptr || (count_ == kCapacity && !makeRoom()))
        return nullptr;
    Voice* voice = store_->createVoice(velocity, note, startDelay);
    if (voice == nullptr && makeRoom())
        voice = store_->createVoice(velocity, note, startDelay);
    if (voice == nullptr)
        return nullptr;
    voice->setPitchBend(pitchBend);
    voices_[count_++] = voice;
    return voice;
}

bool VoicePool::makeRoom()
{
    for (int i = 0; i < count_; ++i) {
        if (voices_[i]->noteOffPending()) {
            remove(i);
            return true;
        }
    }
    return false;
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
}

void VoicePool::clear()
{
    while (count_ > 0)
        remove(count_ - 1);
    if (held_ != nullptr)
        held_->clear();
}

} // namespace grelmond
