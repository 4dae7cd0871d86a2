#pragma once

#include <array>
#include <cstdint>

namespace grelmond {

// 4096 signed 16-bit sine values, shared read-only by every instance.
class SineTable {
public:
    static constexpr int kSize = 4096;
    static constexpr int kMask = kSize - 1;

    static const SineTable& instance();

    std::int16_t operator[](int index) const { return values_[static_cast<unsigned>(index) & kMask]; }

private:
    SineTable();
    std::array<std::int16_t, kSize> values_{};
};

} // namespace grelmond
