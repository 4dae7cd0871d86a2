#pragma once

#include <array>

namespace grelmond {

class Keygroup;
class SampleStore;

// A named list of keygroups; the instrument has one, "Default".
class SamplerProgram {
public:
    static constexpr int nameSize = 64;
    static constexpr int keygroupSlots = 32;

    SamplerProgram(SampleStore* owner, const char* name);

    const char* name() const { return name_.data(); }
    bool addKeygroup(Keygroup* k);
    int keygroupCount() const { return keygroupCount_; }
    Keygroup* keygroup(int i) const { return i >= 0 && i < keygroupCount_ ? keygroups_[i] : nullptr; }
    SampleStore* owner() const { return owner_; }

private:
    SampleStore* owner_;
    std::array<char, nameSize> name_{};
    std::array<Keygroup*, keygroupSlots> keygroups_{};
    int keygroupCount_ = 0;
};

} // namespace grelmond
