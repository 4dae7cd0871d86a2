#include "engine/LadderLanesKernel.h"

namespace grelmond {

typedef float Lanes8 __attribute__((vector_size(32)));

void LadderLanes::run8(int first, const Frames& f)
{
    ladderFrames<Lanes8>(*this, first, f);
}

void LadderLanes::run16(const Frames& f)
{
    ladderFrames<Lanes8, 2>(*this, 0, f);
}

} // namespace grelmond
