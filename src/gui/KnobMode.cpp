#include "gui/KnobMode.h"

#include <atomic>

namespace grelmond {

namespace {
std::atomic<int> gKnobMode{kKnobCircular};
}

void setKnobMode(int mode) { gKnobMode.store(mode, std::memory_order_relaxed); }

int knobMode() { return gKnobMode.load(std::memory_order_relaxed); }

} // namespace grelmond
