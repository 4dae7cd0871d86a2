#include "engine/ProcLanesKernel.h"

namespace grelmond {

typedef float ProcFloats8 __attribute__((vector_size(32)));
typedef std::int32_t ProcInts8 __attribute__((vector_size(32)));

void ProcLanes::run8(int first, const Frames& f)
{
    procFrames<ProcFloats8, ProcInts8, 8>(*this, first, f);
}

} // namespace grelmond
