#include "engine/FlushDenormals.h"
#include "engine/RoundToNearest.h"

#include <gtest/gtest.h>

#include <cfloat>

using grelmond::FlushDenormals;

namespace {

// Through a volatile so the compiler cannot fold the product at build time.
float product(float a, float b)
{
    volatile float x = a;
    volatile float y = b;
    return x * y;
}

float sum(float a, float b)
{
    volatile float x = a;
    volatile float y = b;
    return x + y;
}

} // namespace

TEST(FlushDenormals, FlushesInsideAndRestoresTheCallersState)
{
    const std::uint32_t original = FlushDenormals::controlWord();
    const float tiny = FLT_MIN / 4.0f; // subnormal
    FlushDenormals::setControlWord(original & ~FlushDenormals::kFlushBits);
    EXPECT_GT(product(FLT_MIN, 0.25f), 0.0f);
    {
        FlushDenormals flush;
        EXPECT_EQ(FlushDenormals::controlWord() & FlushDenormals::kFlushBits, FlushDenormals::kFlushBits);
        EXPECT_EQ(product(FLT_MIN, 0.25f), 0.0f);     // results flushed
        EXPECT_EQ(product(tiny, 1.0f), 0.0f);         // inputs read as zero
        EXPECT_EQ(product(1.0f, 0.5f), 0.5f);         // normal arithmetic untouched
    }
    // The low six bits are sticky exception flags, raised by the arithmetic above.
    EXPECT_EQ(FlushDenormals::controlWord() & ~0x3Fu, original & ~FlushDenormals::kFlushBits & ~0x3Fu);
    EXPECT_GT(product(tiny, 1.0f), 0.0f);
    FlushDenormals::setControlWord(original);
}

TEST(FlushDenormals, RoundsToNearestInsideWhateverTheCallerSet)
{
    const std::uint32_t original = FlushDenormals::controlWord();
    for (std::uint32_t mode : {0x0000u, 0x2000u, 0x4000u, 0x6000u}) {
        const std::uint32_t host = (original & ~FlushDenormals::kRoundingBits & ~0x3Fu) | mode;
        FlushDenormals::setControlWord(host);
        {
            FlushDenormals flush;
            EXPECT_EQ(FlushDenormals::controlWord() & FlushDenormals::kRoundingBits, 0u) << mode;
            EXPECT_EQ(sum(1.0f, 0.75f * FLT_EPSILON), 1.0f + FLT_EPSILON) << mode;
            EXPECT_EQ(sum(-1.0f, -0.75f * FLT_EPSILON), -1.0f - FLT_EPSILON) << mode;
        }
        EXPECT_EQ(FlushDenormals::controlWord() & ~0x3Fu, host) << mode;
    }
    FlushDenormals::setControlWord(original);
}

TEST(RoundToNearest, KeepsTheCallersFlushBitsAndGivesItsModeBack)
{
    const std::uint32_t original = FlushDenormals::controlWord();
    const std::uint32_t host = (original & ~0x3Fu) | FlushDenormals::kRoundingBits;
    for (std::uint32_t flush : {0u, FlushDenormals::kFlushBits}) {
        FlushDenormals::setControlWord((host & ~FlushDenormals::kFlushBits) | flush);
        {
            grelmond::RoundToNearest rounding;
            EXPECT_EQ(FlushDenormals::controlWord() & FlushDenormals::kRoundingBits, 0u);
            EXPECT_EQ(FlushDenormals::controlWord() & FlushDenormals::kFlushBits, flush);
            EXPECT_EQ(sum(1.0f, 0.75f * FLT_EPSILON), 1.0f + FLT_EPSILON);
        }
        EXPECT_EQ(FlushDenormals::controlWord() & ~0x3Fu, (host & ~FlushDenormals::kFlushBits) | flush);
    }
    FlushDenormals::setControlWord(original);
}
