#pragma once

namespace grelmond {

// How the voice pool renders its voices: one at a time (the reference), or
// in batches of four (SSE2) or eight (AVX2) lanes.
enum class SimdPath { Scalar, Sse2, Avx2 };

// The widest path this CPU runs, unless GRELMOND_SIMD (scalar, sse2, avx2)
// asks for a narrower one. Reads the environment: call off the audio thread.
SimdPath chooseSimdPath();
// Whether this CPU can run the path.
bool simdPathAvailable(SimdPath path);
const char* simdPathName(SimdPath path);

} // namespace grelmond
