#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/BandPassSection.h"
#include "engine/ProcBandPassBank.h"

using namespace grelmond;

namespace {

constexpr double pi = 3.14159265358979;

// Steady-state peak of a filter (one sample in, one out) driven by a unit sine at f.
template <typename Filter>
float peakFor(Filter filter, float f, float sr)
{
    float peak = 0.0f;
    const int n = static_cast<int>(sr); // one second settles even Q 96
    for (int i = 0; i < n; ++i) {
        const float y = filter(static_cast<float>(std::sin(2 * pi * f * i / sr)));
        if (i > n / 2)
            peak = std::max(peak, std::fabs(y));
    }
    return peak;
}

float sectionPeak(float centre, float D, float f, float sr)
{
    const BandPassNormalised c(BandPassCoefficients::design(centre, D, sr));
    BandPassHistory h;
    return peakFor([&](float u) { return h.run(c, u, 0.0f); }, f, sr);
}

} // namespace

TEST(ProcBandPass, SectionHasUnitPeakAtCentreAndQOfHalfTheDivisor)
{
    for (float sr : {44100.0f, 96000.0f}) {
        EXPECT_NEAR(sectionPeak(1000.0f, 48.0f, 1000.0f, sr), 1.0f, 0.01f);
        // Q 24: the -3 dB points lie about f / 48 either side of the centre.
        EXPECT_NEAR(sectionPeak(1000.0f, 48.0f, 1000.0f * (1.0f + 1.0f / 48.0f), sr), 0.707f, 0.03f);
        EXPECT_NEAR(sectionPeak(1000.0f, 192.0f, 1000.0f * (1.0f + 1.0f / 192.0f), sr), 0.707f, 0.03f);
        EXPECT_LT(sectionPeak(1000.0f, 48.0f, 2000.0f, sr), 0.05f);
    }
}

TEST(ProcBandPass, CentreFrequencyIsHeldBetweenOneHertzAndBelowHalfTheSampleRate)
{
    EXPECT_FLOAT_EQ(BandPassCoefficients::limitFrequency(5000.0f, 8000.0f), 3600.0f);
    EXPECT_FLOAT_EQ(BandPassCoefficients::limitFrequency(-700.0f, 8000.0f), 1.0f);
    EXPECT_FLOAT_EQ(BandPassCoefficients::limitFrequency(NAN, 8000.0f), 1.0f);
    EXPECT_FLOAT_EQ(BandPassCoefficients::limitFrequency(17000.0f, 44100.0f), 17000.0f);

    // Unlimited, 5 kHz at 8 kHz would give a2 / a0 above 1 and a runaway section.
    for (float f : {5000.0f, 4000.0f, -600.0f}) {
        const BandPassCoefficients c = BandPassCoefficients::design(f, 48.0f, 8000.0f);
        EXPECT_GT(c.a0, 1.0f);
        EXPECT_LT(c.a2 / c.a0, 1.0f);
    }
}

TEST(ProcBandPass, CentresRestAtZeroModulationAndFollowTheirSweeps)
{
    ProcBandPassBank bank;
    bank.blockSetup(11, 1.0f, 0.0f, 44100.0f); // "12 Voder 1", keyDepth 0: rest, not 0 Hz
    EXPECT_FLOAT_EQ(bank.centre(0), 140.0f);
    EXPECT_FLOAT_EQ(bank.centre(5), 6500.0f);
    for (float level : {0.0f, 1.0f}) { // "24 Filter Bank 4" keeps its first band at 50 Hz
        bank.blockSetup(23, level, 1.0f, 44100.0f);
        EXPECT_FLOAT_EQ(bank.centre(0), 50.0f);
    }

    // "8 BP Mod" scales x by 1, 0.75, 0.5, 0.25 with trunc(procLevel x 100).
    const float scale = 40000.0f / 44100.0f;
    bank.blockSetup(7, 0.5f, 1.0f, 44100.0f);
    EXPECT_NEAR(bank.centre(0), 100.0f + 10000.0f * scale * 0.5f * 0.5f, 0.5f);
    bank.blockSetup(7, 0.52f, 1.0f, 44100.0f);
    EXPECT_NEAR(bank.centre(0), 100.0f + 10000.0f * scale * 0.52f, 0.5f);

    // "10 BP Dist" runs against procLevel: full level rests, level 0 is fully swept.
    bank.blockSetup(9, 1.0f, 1.0f, 44100.0f);
    EXPECT_FLOAT_EQ(bank.centre(0), 650.0f);
    bank.blockSetup(9, 0.0f, 1.0f, 44100.0f);
    EXPECT_NEAR(bank.centre(1), 3000.0f - 2200.0f * scale, 0.01f);
}

TEST(ProcBandPass, EverySixBandBandContributesWithItsOwnGain)
{
    // "21 Filter Bank 1" at rest: narrow bands far apart, gains 2, 1.9, 1.7, 1.6, 1.7, 1.9.
    const float centres[6] = {450, 3000, 6000, 8000, 10000, 12000};
    const float gains[6] = {2.0f, 1.9f, 1.7f, 1.6f, 1.7f, 1.9f};
    ProcBandPassBank bank;
    bank.blockSetup(20, 0.0f, 1.0f, 44100.0f);
    for (int i = 0; i < 6; ++i) {
        const float peak = peakFor([&](float u) { return bank.process(u, 0.0f); }, centres[i], 44100.0f);
        EXPECT_NEAR(peak, gains[i], 0.12f * gains[i]) << "band " << i;
    }
}
