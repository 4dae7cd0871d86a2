#include "editor/PendingParameters.h"

namespace grelmond {

PendingParameters::PendingParameters()
{
    for (auto& v : values_)
        v.store(0.0f, std::memory_order_relaxed);
}

void PendingParameters::record(int index, float value)
{
    if (index < 0 || index >= kCount)
        return;
    values_[index].store(value, std::memory_order_relaxed);
    // Release: whoever sees the bit also sees the value.
    pending_.fetch_or(uint64_t(1) << index, std::memory_order_release);
}

void PendingParameters::seed(int index, float value)
{
    if (index >= 0 && index < kCount)
        values_[index].store(value, std::memory_order_relaxed);
}

uint64_t PendingParameters::take() { return pending_.exchange(0, std::memory_order_acquire); }

float PendingParameters::value(int index) const
{
    return index >= 0 && index < kCount ? values_[index].load(std::memory_order_relaxed) : 0.0f;
}

} // namespace grelmond
