#pragma once

namespace grelmond {

// How knobs follow the mouse; one value for every editor in the process.
enum KnobMode : int {
    kKnobCircular = 0,
    kKnobRelativeCircular = 1,
    kKnobLinear = 2,
};

void setKnobMode(int mode);
int knobMode();

} // namespace grelmond
