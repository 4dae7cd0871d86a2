#include "engine/Multi.h"

namespace grelmond {

bool Multi::addProgram(SamplerProgram* p) {
    if (programCount_ >= programSlots) return false;
    programs_[static_cast<std::size_t>(programCount_++)] = p;
    return true;
}

} // namespace grelmond
