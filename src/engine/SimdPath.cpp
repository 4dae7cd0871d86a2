#include "engine/SimdPath.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace grelmond {

bool simdPathAvailable(SimdPath path)
{
    switch (path) {
    case SimdPath::Scalar:
        return true;
#if defined(__x86_64__) || defined(_M_X64)
    case SimdPath::Sse2:
        return true; // part of every x86-64 CPU
    case SimdPath::Avx2:
        return __builtin_cpu_supports("avx2");
#endif
    default:
        return false;
    }
}

const char* simdPathName(SimdPath path)
{
    switch (path) {
    case SimdPath::Sse2:
        return "sse2";
    case SimdPath::Avx2:
        return "avx2";
    default:
        return "scalar";
    }
}

SimdPath chooseSimdPath()
{
    SimdPath best = SimdPath::Scalar;
    for (SimdPath p : {SimdPath::Sse2, SimdPath::Avx2})
        if (simdPathAvailable(p))
            best = p;
    const char* asked = std::getenv("GRELMOND_SIMD");
    if (asked == nullptr)
        return best;
    for (SimdPath p : {SimdPath::Scalar, SimdPath::Sse2, SimdPath::Avx2})
        if (std::strcmp(asked, simdPathName(p)) == 0 && simdPathAvailable(p))
            return p;
    return best;
}

} // namespace grelmond
