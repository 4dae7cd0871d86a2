#include "engine/LadderLanesKernel.h"

namespace grelmond {

typedef float Lanes4 __attribute__((vector_size(16)));

void LadderLanes::run4(int first, const Frames& f)
{
    ladderFrames<Lanes4>(*this, first, f);
}

void LadderLanes::run8Sse2(int first, const Frames& f)
{
    ladderFrames<Lanes4, 2>(*this, first, f);
}

} // namespace grelmond
