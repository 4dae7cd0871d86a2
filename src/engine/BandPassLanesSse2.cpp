#include "engine/BandPassLanesKernel.h"

namespace grelmond {

typedef float BandLanes4 __attribute__((vector_size(16)));

void BandPassLanes::run4(int first, const Frames& f)
{
    bandPassFrames<BandLanes4>(*this, first, f);
}

} // namespace grelmond
