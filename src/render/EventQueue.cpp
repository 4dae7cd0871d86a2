#include "render/EventQueue.h"

#include <algorithm>

namespace grelmond {

void EventQueue::restartIfDrained()
{
    if (next_ == count_) {
        next_ = count_ = 0;
        bytesUsed_ = 0;
    }
}

bool EventQueue::add(const MidiEvent& event)
{
    restartIfDrained();
    if (count_ == kCapacity)
        return false;
    MidiEvent kept = event;
    if (event.isSysEx() && event.sysex != nullptr) {
        if (event.sysexSize > kSysExBytes - bytesUsed_)
            return false;
        std::copy_n(event.sysex, event.sysexSize, bytes_.data() + bytesUsed_);
        kept.sysex = bytes_.data() + bytesUsed_;
        bytesUsed_ += event.sysexSize;
    }
    events_[static_cast<std::size_t>(count_++)] = kept;
    return true;
}

int EventQueue::nextFrame() const { return std::max(events_[static_cast<std::size_t>(next_)].frame, 0); }

const MidiEvent& EventQueue::take() { return events_[static_cast<std::size_t>(next_++)]; }

} // namespace grelmond
