#pragma once

#include <cstdint>

namespace grelmond {

// Sets flush-to-zero, denormals-are-zero and round-to-nearest for its lifetime
// and gives the caller's floating-point control word back on destruction. A
// quiet ladder otherwise spends most of its time in subnormal arithmetic, and a
// rounding mode a host leaves behind would change the sound; the host's own
// settings must survive the call untouched.
class FlushDenormals {
public:
    FlushDenormals();
    ~FlushDenormals();
    FlushDenormals(const FlushDenormals&) = delete;
    FlushDenormals& operator=(const FlushDenormals&) = delete;

    static std::uint32_t controlWord();
    static void setControlWord(std::uint32_t word);
    // The flush-to-zero and denormals-are-zero bits (0 where the CPU has none).
    static constexpr std::uint32_t kFlushBits = 0x8040u;
    // The rounding field; all clear is round-to-nearest.
    static constexpr std::uint32_t kRoundingBits = 0x6000u;

private:
    std::uint32_t saved_;
};

} // namespace grelmond
