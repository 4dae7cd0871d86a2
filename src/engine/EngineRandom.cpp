#include "engine/EngineRandom.h"

namespace grelmond {

void EngineRandom::seed(int32_t value)
{
    // 0 and multiples of the modulus would lock the generator at 0.
    uint32_t s = static_cast<uint32_t>(value) % 0x7FFFFFFFu;
    state_ = s == 0 ? 1 : static_cast<int32_t>(s);
}

int32_t EngineRandom::next()
{
    // Multiply the two 16-bit halves separately so that everything fits in
    // 32 bits, then fold the overflow back in (2^31 = 1 mod 2^31 - 1).
    const uint32_t s = static_cast<uint32_t>(state_);
    uint32_t lo = 16807u * (s & 0xFFFFu);
    const uint32_t hi = 16807u * (s >> 16);
    lo += (hi & 0x7FFFu) << 16;
    lo += hi >> 15;
    if (lo > 0x7FFFFFFFu)
        lo -= 0x7FFFFFFFu;
    state_ = static_cast<int32_t>(lo);
    return state_ >> 1;
}

} // namespace grelmond
