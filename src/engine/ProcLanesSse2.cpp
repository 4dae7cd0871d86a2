#include "engine/ProcLanesKernel.h"

namespace grelmond {

typedef float ProcFloats4 __attribute__((vector_size(16)));
typedef std::int32_t ProcInts4 __attribute__((vector_size(16)));

void ProcLanes::run4(int first, const Frames& f)
{
    procFrames<ProcFloats4, ProcInts4, 4>(*this, first, f);
}

} // namespace grelmond
