#pragma once

#include <array>

namespace grelmond {

class SampleStore;
class SamplerProgram;

// The list of sampler programs.
class Multi {
public:
    static constexpr int programSlots = 256;

    explicit Multi(SampleStore* owner) : owner_(owner) {}

    bool addProgram(SamplerProgram* p);
    int programCount() const { return programCount_; }
    SamplerProgram* program(int i) const { return i >= 0 && i < programCount_ ? programs_[static_cast<std::size_t>(i)] : nullptr; }

    SampleStore* owner() const { return owner_; }

private:
    SampleStore* owner_;
    std::array<SamplerProgram*, programSlots> programs_{};
    int programCount_ = 0;
};

} // namespace grelmond
