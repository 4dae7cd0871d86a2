#include "engine/EngineRandom.h"

namespace grelmond {

namespace {

constexpr uint32_t modulus = 0x7FFFFFFFu;
constexpr uint32_t multiplier = 16807u;

// a × b mod 2^31 - 1 for a, b below the modulus: 2^31 folds back to 1. The
// sum stays under twice the modulus, so one subtraction ends it; it is the
// same residue the two-halves method of next() finds.
uint32_t mulMod(uint32_t a, uint32_t b)
{
    const uint64_t p = static_cast<uint64_t>(a) * b;
    uint32_t r = static_cast<uint32_t>(p & modulus) + static_cast<uint32_t>(p >> 31);
    if (r >= modulus)
        r -= modulus;
    return r;
}

} // namespace

void EngineRandom::seed(int32_t value)
{
    // 0 and multiples of the modulus would lock the generator at 0.
    uint32_t s = static_cast<uint32_t>(value) % 0x7FFFFFFFu;
    state_ = s == 0 ? 1 : static_cast<int32_t>(s);
}

void EngineRandom::seedStream(int stream)
{
    // 1 × multiplier^(stream × 2^24): the sequence seed 1 gives, 2^24 draws on
    // per stream, so up to 128 voices never share a stretch of it within
    // minutes of held noise.
    uint64_t exponent = static_cast<uint64_t>(stream < 0 ? 0 : stream) << 24;
    uint32_t base = multiplier;
    uint32_t result = 1;
    for (; exponent != 0; exponent >>= 1) {
        if (exponent & 1u)
            result = mulMod(result, base);
        base = mulMod(base, base);
    }
    state_ = static_cast<int32_t>(result);
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

void EngineRandom::nextMany(int32_t* out, int count)
{
    constexpr int streams = 4;
    if (count <= 0)
        return;
    uint32_t s[streams];
    uint32_t state = static_cast<uint32_t>(state_);
    for (int j = 0; j < streams; ++j) {
        state = mulMod(state, multiplier);
        s[j] = state; // the state of output j
    }
    const uint32_t jump = mulMod(mulMod(multiplier, multiplier), mulMod(multiplier, multiplier));
    uint32_t last = 0;
    int k = 0;
    for (; k + streams <= count; k += streams) {
        last = s[streams - 1];
        for (int j = 0; j < streams; ++j) {
            out[k + j] = static_cast<int32_t>(s[j] >> 1);
            s[j] = mulMod(s[j], jump);
        }
    }
    for (int j = 0; k < count; ++j, ++k) {
        last = s[j];
        out[k] = static_cast<int32_t>(s[j] >> 1);
    }
    state_ = static_cast<int32_t>(last);
}

} // namespace grelmond
