#include "render/FilterLfo.h"

#include "render/LfoPhase.h"
#include "render/SineTable.h"

namespace grelmond {

void FilterLfo::reset()
{
    smooth1_ = 0.0f;
    smooth2_ = 0.0f;
}

void FilterLfo::setup(std::int64_t chunk, float rate)
{
    const int phase = lfoPhase(chunk, 4096.0 * rate);
    const float value = SineTable::instance()[phase] / 65536.0f + 0.5f;
    smooth1_ = 0.3f * smooth1_ + 0.7f * value;
    smooth2_ = 0.3f * smooth2_ + 0.7f * smooth1_;
}

} // namespace grelmond
