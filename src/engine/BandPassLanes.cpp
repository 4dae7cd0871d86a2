#include "engine/BandPassLanes.h"

namespace grelmond {

void BandPassLanes::load(int lane, const ProcBandPassBank& bank, float denormal)
{
    for (int k = 0; k < kSections; ++k) {
        const BandPassNormalised& c = bank.coeffs_[k];
        const BandPassHistory& h = bank.histories_[k];
        b0[k][lane] = c.b0;
        b1[k][lane] = c.b1;
        b2[k][lane] = c.b2;
        a1[k][lane] = c.a1;
        a2[k][lane] = c.a2;
        gain[k][lane] = bank.gains_[k];
        x1[k][lane] = h.x1;
        x2[k][lane] = h.x2;
        y1[k][lane] = h.y1;
        y2[k][lane] = h.y2;
    }
    d[lane] = denormal;
}

void BandPassLanes::store(int lane, ProcBandPassBank& bank) const
{
    for (int k = 0; k < active; ++k) {
        BandPassHistory& h = bank.histories_[k];
        h.x1 = x1[k][lane];
        h.x2 = x2[k][lane];
        h.y1 = y1[k][lane];
        h.y2 = y2[k][lane];
    }
}

void BandPassLanes::clear(int lane)
{
    for (int k = 0; k < kSections; ++k)
        b0[k][lane] = b1[k][lane] = b2[k][lane] = a1[k][lane] = a2[k][lane] = gain[k][lane] = x1[k][lane] =
            x2[k][lane] = y1[k][lane] = y2[k][lane] = 0.0f;
    d[lane] = 0.0f;
}

} // namespace grelmond
