#include "engine/LadderLanes.h"

#include "engine/LadderFilter.h"

namespace grelmond {

void LadderLanes::load(int lane, const LadderFilter& filter, float denormal)
{
    e1[lane] = filter.e1_;
    e2[lane] = filter.e2_;
    y0[lane] = filter.y_[0];
    y1[lane] = filter.y_[1];
    y2[lane] = filter.y_[2];
    y3[lane] = filter.y_[3];
    y4[lane] = filter.y_[4];
    envCut[lane] = filter.block_.envCut;
    baseCut[lane] = filter.block_.baseCut;
    res[lane] = filter.block_.res;
    d[lane] = denormal;
}

void LadderLanes::store(int lane, LadderFilter& filter) const
{
    filter.e1_ = e1[lane];
    filter.e2_ = e2[lane];
    filter.y_[0] = y0[lane];
    filter.y_[1] = y1[lane];
    filter.y_[2] = y2[lane];
    filter.y_[3] = y3[lane];
    filter.y_[4] = y4[lane];
}

} // namespace grelmond
