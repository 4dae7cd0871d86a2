#include "engine/Envelope.h"

#include "params/VolumeCurve.h"

#include <gtest/gtest.h>

#include <cmath>

using grelmond::Envelope;
using grelmond::EnvelopeTable;

namespace {

Envelope make(int a, int d, float s, int r, bool guard = false) { return Envelope(a, d, s, r, nullptr, guard); }

float at(const Envelope& e, float t) { return e.read(t, 0.0f, false, 0.0f).value; }

} // namespace

TEST(Envelope, DefaultShape) {
    Envelope e = make(10, 50, 0.5f, 300);
    EXPECT_FLOAT_EQ(e.table().at(0), 0.0f);
    EXPECT_FLOAT_EQ(e.table().at(5), 0.5f);
    EXPECT_FLOAT_EQ(e.table().at(10), 1.0f);
    EXPECT_NEAR(e.table().at(59), 0.506f, 0.001f);
    // The decay sags below a straight line: halfway down, k = 0.415.
    EXPECT_NEAR(e.table().at(35), 0.415f + 0.585f * 0.5f, 0.001f);
    EXPECT_FLOAT_EQ(at(e, 60.0f), 0.5f);
    EXPECT_FALSE(e.read(1000.0f, 0.0f, false, 0.0f).ended);
    EXPECT_FLOAT_EQ(e.table().at(EnvelopeTable::releaseBase), 1.0f);

    Envelope slow = make(100, 0, 1.0f, 0);
    EXPECT_FLOAT_EQ(at(slow, 50.0f), 0.5f);
    EXPECT_FLOAT_EQ(at(slow, 99.9f), 0.99f);
}

TEST(Envelope, LongestSegmentsStayInTheirRegions) {
    Envelope e = make(3000, 3000, 0.25f, 3000);
    EXPECT_FLOAT_EQ(at(e, 2999.5f), e.table().at(2999));
    EXPECT_GT(e.table().at(5999), 0.25f);
    EXPECT_FLOAT_EQ(at(e, 6000.0f), 0.25f);
    // Release entries did not overwrite the decay, and times above 3000 are clamped.
    Envelope big = make(5000, 0, 1.0f, 9000);
    EXPECT_EQ(big.attack(), 3000);
    EXPECT_EQ(big.release(), 3000);
    EXPECT_FALSE(big.read(2999.0f, 0.0f, true, 1.0f).ended);
}

TEST(Envelope, ZeroTimesAndSustain) {
    Envelope flat = make(0, 0, 0.7f, 0);
    EXPECT_FLOAT_EQ(at(flat, 0.0f), 0.7f);
    // Release 0: silent at once, ended from tick 5 of the release on.
    EXPECT_FLOAT_EQ(flat.read(10.0f, 10.0f, true, 0.7f).value, 0.0f);
    EXPECT_FALSE(flat.read(14.9f, 10.0f, true, 0.7f).ended);
    EXPECT_TRUE(flat.read(15.0f, 10.0f, true, 0.7f).ended);

    Envelope noSustain = make(2, 3, 0.0f, 10);
    EXPECT_FALSE(noSustain.read(4.9f, 0.0f, false, 0.0f).ended);
    EXPECT_TRUE(noSustain.read(5.0f, 0.0f, false, 0.0f).ended);
}

TEST(Envelope, ReleaseScalesFromCapturedLevelAndEndsFiveTicksLater) {
    Envelope e = make(0, 0, 1.0f, 20);
    EXPECT_FLOAT_EQ(e.read(100.0f, 100.0f, true, 0.5f).value, 0.5f);
    float mid = e.read(110.0f, 100.0f, true, 0.5f).value;
    EXPECT_GT(mid, 0.0f);
    EXPECT_LT(mid, 0.5f);
    EXPECT_FLOAT_EQ(e.read(120.0f, 100.0f, true, 0.5f).value, 0.0f);
    EXPECT_FALSE(e.read(124.9f, 100.0f, true, 0.5f).ended);
    EXPECT_TRUE(e.read(125.0f, 100.0f, true, 0.5f).ended);
}

TEST(Envelope, ClickGuardShapesShortSegments) {
    Envelope e = make(2, 10, 1.0f, 0, true);
    EXPECT_EQ(e.attack(), 8);
    EXPECT_EQ(e.release(), 8);
    const float attack[] = {0.0f, 0.25f, 0.5f, 0.8f, 0.85f, 0.9f, 0.95f, 1.0f};
    const float release[] = {1.0f, 0.95f, 0.9f, 0.85f, 0.8f, 0.5f, 0.25f, 0.0f};
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(e.table().at(i), attack[i]);
        EXPECT_FLOAT_EQ(e.table().at(EnvelopeTable::releaseBase + i), release[i]);
    }
    Envelope longer = make(20, 0, 1.0f, 20, true);
    EXPECT_FLOAT_EQ(longer.table().at(10), 0.5f);
}

TEST(Envelope, FilterVariantStartsExponentialAndRebuildsStraight) {
    Envelope e(10, 50, 0.5f, 300, nullptr, false, Envelope::FirstAttack::Exponential);
    for (int i = 0; i < 10; ++i) EXPECT_FLOAT_EQ(e.table().at(i), grelmond::VolumeCurve::at(i * 4096 / 10));
    e.setSustain(0.4f);
    EXPECT_FLOAT_EQ(e.table().at(5), 0.5f);
    EXPECT_FLOAT_EQ(at(e, 100.0f), 0.4f);
}
