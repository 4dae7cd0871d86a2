#include "engine/OscillatorLanesKernel.h"

namespace grelmond {

typedef float Floats8 __attribute__((vector_size(32)));
typedef std::int32_t Ints8 __attribute__((vector_size(32)));

void OscillatorLanes::run8(int first, const Frames& f)
{
    oscillatorFrames<Floats8, Ints8, 8>(*this, first, f);
}

} // namespace grelmond
