#include "engine/FlushDenormals.h"

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
