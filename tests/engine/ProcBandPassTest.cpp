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

namespace {

// Largest pole radius of a section as it runs: the float32 coefficients after
// the division by a0, with the roots taken in long double.
long double poleRadius(const BandPassNormalised& c)
{
    const long double a1 = c.a1, a2 = c.a2;
    const long double disc = a1 * a1 - 4.0L * a2;
    if (disc < 0.0L)
        return std::sqrt(a2);
    const long double s = std::sqrt(disc);
    return std::max(std::fabs((-a1 + s) / 2.0L), std::fabs((-a1 - s) / 2.0L));
}

long double radiusAt(float w, float D)
{
    return poleRadius(BandPassNormalised(BandPassCoefficients::designAngle(w, D)));
}

} // namespace

TEST(ProcBandPass, EverySectionAngleInUseHasItsPolesInsideTheUnitCircle)
{
    // 1 Hz at 32 kHz, where sections used to be held: the rounded cosine puts
    // a real pole outside the circle.
    EXPECT_GT(radiusAt(6.2831853072f / 32000.0f, 48.0f), 1.0L);

    const float top = 6.2831853072f * 0.45f;
    for (float D : {48.0f, 192.0f}) {
        // Every float32 angle of the lowest octave, where the margin is smallest ...
        const float low = BandPassCoefficients::lowestAngle;
        for (float w = low; w <= 2.0f * low; w = std::nextafter(w, 1.0f))
            ASSERT_LT(radiusAt(w, D), 1.0L) << "w " << w << " D " << D;
        // ... and a dense walk up to 0.45 of the sample rate.
        for (float w = 2.0f * low; w <= top; w = std::nextafter(w * 1.0001f, 4.0f))
            ASSERT_LT(radiusAt(w, D), 1.0L) << "w " << w << " D " << D;
        ASSERT_LT(radiusAt(top, D), 1.0L);
    }
    // Whatever the centre asked for, the designed angle is one of those.
    for (float sr : {8000.0f, 22050.0f, 44100.0f, 384000.0f})
        for (float f : {-5000.0f, 0.0f, 1.0f, 30.0f, 1.0e6f, NAN})
            EXPECT_LT(poleRadius(BandPassNormalised(BandPassCoefficients::design(f, 192.0f, sr))), 1.0L)
                << f << " Hz at " << sr;
}

TEST(ProcBandPass, CentresKeepTheirHertzBelowFortyFourKilohertz)
{
    // At and above 44.1 kHz the sweep keeps its scale 40000 / sr; below it the
    // centres are those of 44.1 kHz, held under 0.45 of the rate.
    ProcBandPassBank reference, bank;
    for (int function : {9, 11, 20, 21, 7, 14}) {
        for (float level : {0.0f, 0.37f, 1.0f}) {
            reference.blockSetup(function, level, 1.0f, 44100.0f);
            for (float sr : {8000.0f, 16000.0f, 22050.0f, 32000.0f}) {
                bank.blockSetup(function, level, 1.0f, sr);
                for (int i = 0; i < bank.activeSections(); ++i) {
                    EXPECT_FLOAT_EQ(bank.centre(i), reference.centre(i)) << function << " " << sr << " " << i;
                    EXPECT_FLOAT_EQ(bank.gain(i), reference.gain(i)) << function << " " << sr << " " << i;
                    EXPECT_GT(bank.centre(i), 40.0f);
                }
            }
        }
    }
    bank.blockSetup(11, 1.0f, 1.0f, 96000.0f); // "12 Voder 1": x = 40000 / 96000 at full sweep
    EXPECT_FLOAT_EQ(bank.centre(5), 6500.0f - 6320.0f * (40000.0f / 96000.0f));
}
