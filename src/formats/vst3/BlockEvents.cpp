#include "formats/vst3/BlockEvents.h"

namespace grelmond::vst3 {

bool BlockEvents::add(const InstrumentEvent& event)
{
    if (count_ >= kCapacity)
        return false;
    events_[static_cast<std::size_t>(count_++)] = event;
    return true;
}

void BlockEvents::sortByFrame()
{
    // Insertion sort: stable, in place, and nearly free on the mostly sorted
    // lists hosts send.
    for (int i = 1; i < count_; ++i) {
        const InstrumentEvent event = events_[static_cast<std::size_t>(i)];
        int j = i;
        for (; j > 0 && events_[static_cast<std::size_t>(j - 1)].frame > event.frame; --j)
            events_[static_cast<std::size_t>(j)] = events_[static_cast<std::size_t>(j - 1)];
        events_[static_cast<std::size_t>(j)] = event;
    }
}

int BlockEvents::take(int from, int to, const InstrumentEvent*& first)
{
    const int begin = next_;
    for (; next_ < count_ && events_[static_cast<std::size_t>(next_)].frame < to; ++next_) {
        InstrumentEvent& event = events_[static_cast<std::size_t>(next_)];
        event.frame = event.frame > from ? event.frame - from : 0;
    }
    first = events_.data() + begin;
    return next_ - begin;
}

} // namespace grelmond::vst3
