#include "engine/LadderLanesKernel.h"

namespace grelmond {

typedef float Lanes8 __attribute__((vector_size(32)));

void LadderLanes::run8(const Frames& f)
{
    ladderFrames<Lanes8>(*this, 0, f);
}

} // namespace grelmond
