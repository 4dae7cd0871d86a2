#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::string f2s(float v)
{
    char text[16];
    std::memset(text, 'X', sizeof text);
    grelmond::float2string(v, text);
    EXPECT_LE(std::strlen(text), 8u) << "for " << v;
    return text;
}

std::string l2s(std::int32_t v)
{
    char text[16];
    grelmond::long2string(v, text);
    return text;
}

TEST(NumberText, FloatTextTruncatesIntoEightPositions)
{
    EXPECT_EQ(f2s(0.5f), "0.500000");
    EXPECT_EQ(f2s(1.0f), "1.000000");
    EXPECT_EQ(f2s(12.25f), "12.25000");
    EXPECT_EQ(f2s(-0.5f), "-0.50000");
    EXPECT_EQ(f2s(123456.7f), "123456.7");
    EXPECT_EQ(f2s(0.7f), "0.699999"); // truncated, not rounded
    EXPECT_EQ(f2s(0.0f), "0.000000");
    EXPECT_EQ(f2s(9999999.0f), "9999999.");
    EXPECT_EQ(f2s(-999999.0f), "-999999.");
}

TEST(NumberText, FloatTextTooLargeToShowIsHuge)
{
    EXPECT_EQ(f2s(100000000.0f), " Huge!  ");
    EXPECT_EQ(f2s(-10000000.0f), " Huge!  ");
    EXPECT_EQ(f2s(std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(f2s(-std::numeric_limits<float>::infinity()), " Huge!  ");
    // Integer parts that would need more positions than exist are not cut to
    // their low digits.
    EXPECT_EQ(f2s(12345678.0f), " Huge!  ");
    EXPECT_EQ(f2s(-1234567.0f), " Huge!  ");
    EXPECT_EQ(f2s(std::nanf("")).size(), 8u);
}

TEST(NumberText, LongAndDecibelAndTimeTexts)
{
    EXPECT_EQ(l2s(42), "     42");
    EXPECT_EQ(l2s(-42), "    -42");
    EXPECT_EQ(l2s(99999999), "99999999");
    EXPECT_EQ(l2s(100000000), " Huge!  ");
    EXPECT_EQ(l2s(-2147483647 - 1), " Huge!  ");

    char text[16];
    grelmond::dB2string(0.0f, text);
    EXPECT_STREQ(text, "  -oo   ");
    grelmond::dB2string(-1.0f, text);
    EXPECT_STREQ(text, "  -oo   ");
    grelmond::dB2string(1.0f, text);
    EXPECT_STREQ(text, "0.000000");
    grelmond::dB2string(10.0f, text);
    EXPECT_STREQ(text, "20.00000");

    grelmond::Hz2string(0.0f, 44100.0f, text);
    EXPECT_STREQ(text, "0.000000");
    grelmond::Hz2string(100.0f, 44100.0f, text);
    EXPECT_STREQ(text, "441.0000");
    grelmond::ms2string(441.0f, 44100.0f, text);
    EXPECT_STREQ(text, "10.00000");
}

TEST(NumberText, NullBufferIsLeftAlone)
{
    grelmond::float2string(1.0f, nullptr);
    grelmond::long2string(1, nullptr);
    grelmond::dB2string(1.0f, nullptr);
    grelmond::Hz2string(1.0f, 44100.0f, nullptr);
    grelmond::ms2string(1.0f, 44100.0f, nullptr);
}

} // namespace
