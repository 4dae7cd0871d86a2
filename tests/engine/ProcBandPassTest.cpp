#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/BandPassSection.h"
#include "engine/ProcBandPassBank.h"

namespace {

constexpr double pi = 3.14159265358979;

// Steady-state peak of a section driven by a unit sine at frequency f.
float sectionPeak(float centre, float D, float f, float sr)
{
    const BandPassNormalised c(BandPassCoefficients::design(centre, D, sr));
    BandPassHistory h;
    float peak = 0.0f;
    const int n = static_cast<int>(sr); // one second settles even Q 96 at 50 Hz
    for (int i = 0; i < n; ++i) {
        const float y = h.run(c, static_cast<float>(std::sin(2 * pi * f * i / sr)), 0.0f);
        if (i > n / 2)
            peak = std::max(peak, std::fabs(y));
    }
    return peak;
}

// Peak output of a bank function at its rest frequencies for a unit sine at f.
float bankPeak(int function, float f, float sr)
{
    ProcBandPassBank bank;
    bank.blockSetup(function, 0.0f, 1.0f, sr);
    float peak = 0.0f;
    const int n = static_cast<int>(sr / 2);
    for (int i = 0; i < n; ++i) {
        const float y = bank.process(static_cast<float>(std::sin(2 * pi * f * i / sr)), 0.0f);
        if (i > n / 2)
            peak = std::max(peak, std::fabs(y));
    }
    return peak;
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

TEST(ProcBandPass, RestFrequenciesAtZeroModulation)
{
    ProcBandPassBank bank;
    bank.blockSetup(4, 0.0f, 1.0f, 44100.0f); // "5 Vox A"
    EXPECT_FLOAT_EQ(bank.centre(0), 600.0f);
    EXPECT_FLOAT_EQ(bank.centre(1), 1040.0f);
    EXPECT_FLOAT_EQ(bank.centre(2), 2250.0f);
    EXPECT_FLOAT_EQ(bank.gain(1), 1.8f);

    bank.blockSetup(11, 1.0f, 0.0f, 44100.0f); // "12 Voder 1", keyDepth 0
    EXPECT_EQ(bank.activeSections(), 6);
    EXPECT_FLOAT_EQ(bank.centre(5), 6500.0f);
    EXPECT_FLOAT_EQ(bank.gain(0), 2.0f);

    for (float level : {0.0f, 0.5f, 1.0f}) { // "24 Filter Bank 4" keeps its first band at 50 Hz
        bank.blockSetup(23, level, 1.0f, 44100.0f);
        EXPECT_FLOAT_EQ(bank.centre(0), 50.0f);
    }
}

TEST(ProcBandPass, SweepsFollowTheirOwnModulationRules)
{
    ProcBandPassBank bank;
    const float x0 = 40000.0f / 44100.0f * 0.5f;
    // "8 BP Mod" steps x by 1, 0.75, 0.5, 0.25 with trunc(procLevel x 100).
    bank.blockSetup(7, 0.5f, 1.0f, 44100.0f);
    EXPECT_NEAR(bank.centre(0), 100.0f + 10000.0f * x0 * 0.5f, 0.5f);
    bank.blockSetup(7, 0.52f, 1.0f, 44100.0f);
    EXPECT_NEAR(bank.centre(0), 100.0f + 10000.0f * (x0 / 0.5f * 0.52f), 0.5f);

    // "10 BP Dist" runs against procLevel: full level rests, level 0 is fully swept.
    bank.blockSetup(9, 1.0f, 1.0f, 44100.0f);
    EXPECT_FLOAT_EQ(bank.centre(0), 650.0f);
    bank.blockSetup(9, 0.0f, 1.0f, 44100.0f);
    EXPECT_NEAR(bank.centre(0), 650.0f - 360.0f * 40000.0f / 44100.0f, 0.01f);
    EXPECT_NEAR(bank.centre(1), 3000.0f - 2200.0f * 40000.0f / 44100.0f, 0.01f);
}

TEST(ProcBandPass, EverySixBandBandContributesWithItsOwnGain)
{
    // "21 Filter Bank 1" at rest: narrow bands far apart, gains 2, 1.9, 1.7, 1.6, 1.7, 1.9.
    const float centres[6] = {450, 3000, 6000, 8000, 10000, 12000};
    const float gains[6] = {2.0f, 1.9f, 1.7f, 1.6f, 1.7f, 1.9f};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(bankPeak(20, centres[i], 44100.0f), gains[i], 0.12f * gains[i]) << "band " << i;
}

TEST(ProcBandPass, HistoriesStartAtZeroAndNonFiniteOnesAreCleared)
{
    ProcBandPassBank bank;
    for (int i = 0; i < ProcBandPassBank::sections; ++i) {
        const BandPassHistory& h = bank.history(i);
        EXPECT_EQ(h.x1 + h.x2 + h.y1 + h.y2, 0.0f);
    }
    bank.blockSetup(20, 0.5f, 1.0f, 44100.0f);
    bank.process(INFINITY, 0.0f);
    EXPECT_FALSE(std::isfinite(bank.process(0.0f, 0.0f)));
    bank.resetNonFinite();
    EXPECT_TRUE(std::isfinite(bank.process(0.1f, 0.0f)));
}
