#pragma once

#include <cstdint>

namespace grelmond {

// Sets flush-to-zero and denormals-are-zero for its lifetime and gives the
// caller's floating-point control word back on destruction. A quiet ladder
// otherwise spends most of its time in subnormal arithmetic; the host's own
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

private:
    std::uint32_t saved_;
};

} // namespace grelmond
