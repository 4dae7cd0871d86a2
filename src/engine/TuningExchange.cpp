#include "engine/TuningExchange.h"

namespace grelmond {

void TuningExchange::publish(const TuningTable& table) {
    slots_[static_cast<unsigned>(writing_)] = table;
    writing_ = between_.exchange(writing_ | kFresh, std::memory_order_acq_rel) & kIndex;
}

bool TuningExchange::take(TuningTable& table) {
    if ((between_.load(std::memory_order_relaxed) & kFresh) == 0) return false;
    reading_ = between_.exchange(reading_, std::memory_order_acq_rel) & kIndex;
    table = slots_[static_cast<unsigned>(reading_)];
    return true;
}

} // namespace grelmond
