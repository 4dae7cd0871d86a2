#include "engine/BandPassLanesKernel.h"

namespace grelmond {

typedef float BandLanes8 __attribute__((vector_size(32)));

void BandPassLanes::run8(int first, const Frames& f)
{
    bandPassFrames<BandLanes8>(*this, first, f);
}

} // namespace grelmond
