#include "render/SineTable.h"

#include <cmath>
#include <numbers>

namespace grelmond {

namespace {
// Built while the library loads, so the audio thread never meets a first-use guard.
[[maybe_unused]] const SineTable& table = SineTable::instance();
}

SineTable::SineTable()
{
    for (int k = 0; k < kSize; ++k)
        values_[k] = static_cast<std::int16_t>(std::trunc(32767.0 * std::sin(2.0 * std::numbers::pi * k / kSize)));
}

const SineTable& SineTable::instance()
{
    static const SineTable sine;
    return sine;
}

} // namespace grelmond
