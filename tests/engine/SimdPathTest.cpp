#include "engine/SimdPath.h"

#include "ScopedEnv.h"

#include <gtest/gtest.h>

using grelmond::SimdPath;

TEST(SimdPath, TheVariableForcesAPathTheCpuHasAndNothingElse)
{
    SimdPath best = SimdPath::Scalar;
    {
        ScopedEnv none("GRELMOND_SIMD", nullptr);
        best = grelmond::chooseSimdPath();
    }
    EXPECT_TRUE(grelmond::simdPathAvailable(best));
    EXPECT_TRUE(grelmond::simdPathAvailable(SimdPath::Scalar));
#if defined(__x86_64__)
    EXPECT_NE(best, SimdPath::Scalar); // every x86-64 CPU has SSE2
#endif
    for (SimdPath p : {SimdPath::Scalar, SimdPath::Sse2, SimdPath::Avx2}) {
        ScopedEnv forced("GRELMOND_SIMD", grelmond::simdPathName(p));
        EXPECT_EQ(grelmond::chooseSimdPath(), grelmond::simdPathAvailable(p) ? p : best) << grelmond::simdPathName(p);
    }
    for (const char* odd : {"", "AVX2", "avx512", "sse"}) {
        ScopedEnv forced("GRELMOND_SIMD", odd);
        EXPECT_EQ(grelmond::chooseSimdPath(), best) << odd;
    }
}
