#include "engine/OscillatorLanesKernel.h"

namespace grelmond {

typedef float Floats4 __attribute__((vector_size(16)));
typedef std::int32_t Ints4 __attribute__((vector_size(16)));

void OscillatorLanes::run4(int first, const Frames& f)
{
    oscillatorFrames<Floats4, Ints4, 4>(*this, first, f);
}

} // namespace grelmond
