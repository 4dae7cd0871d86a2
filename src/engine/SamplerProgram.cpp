#include "engine/SamplerProgram.h"

#include <cstdio>

namespace grelmond {

SamplerProgram::SamplerProgram(SampleStore* owner, const char* name) : owner_(owner) {
    std::snprintf(name_.data(), name_.size(), "%s", name ? name : "");
}

bool SamplerProgram::addKeygroup(Keygroup* k) {
    if (keygroupCount_ >= keygroupSlots) return false;
    keygroups_[static_cast<std::size_t>(keygroupCount_++)] = k;
    return true;
}

} // namespace grelmond
