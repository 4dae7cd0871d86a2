#include "PitchProbe.h"
#include "SoundMeasures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <vector>

namespace {

constexpr double kRate = 44100.0;

// A band-limited sawtooth of `partials` harmonics, peak about `amplitude`.
std::vector<float> saw(double hz, double seconds, double amplitude, int partials = 20)
{
    std::vector<float> x(static_cast<size_t>(seconds * kRate));
    for (size_t n = 0; n < x.size(); ++n) {
        double v = 0.0;
        for (int k = 1; k <= partials; ++k)
            v += std::sin(2.0 * std::numbers::pi * k * hz * static_cast<double>(n) / kRate) / k;
        x[n] = static_cast<float>(amplitude * 0.55 * v);
    }
    return x;
}

std::vector<float> stereoSine(double hz, double amplitude, double offset, double seconds)
{
    std::vector<float> x;
    for (size_t n = 0; n < static_cast<size_t>(seconds * kRate); ++n) {
        const float v = static_cast<float>(offset + amplitude * std::sin(2.0 * std::numbers::pi * hz * n / kRate));
        x.push_back(v);
        x.push_back(v);
    }
    return x;
}

} // namespace

// The loudness reference: a stereo 1 kHz sine of amplitude -23 dBFS reads
// -23 LUFS; a 20 dB quieter one 20 LU lower; silence reads nothing.
TEST(SoundMeasures, LoudnessFollowsTheReferenceSine)
{
    const double a = std::pow(10.0, -23.0 / 20.0);
    EXPECT_NEAR(bankmeter::momentaryMaxLufs(stereoSine(1000.0, a, 0.0, 2.0), kRate), -23.0, 0.1);
    EXPECT_NEAR(bankmeter::momentaryMaxLufs(stereoSine(1000.0, a / 10.0, 0.0, 2.0), kRate), -43.0, 0.1);
    EXPECT_EQ(bankmeter::momentaryMaxLufs(std::vector<float>(2 * 44100, 0.0f), kRate), -HUGE_VAL);
    // A short burst counts at its loudest moment, not averaged over the silence around it.
    std::vector<float> burst(2 * 44100 * 3, 0.0f);
    const auto tone = stereoSine(1000.0, a, 0.0, 0.5);
    std::copy(tone.begin(), tone.end(), burst.begin() + 2 * 44100);
    EXPECT_NEAR(bankmeter::momentaryMaxLufs(burst, kRate), -23.0, 0.3);
}

TEST(SoundMeasures, PeakAndDcAreMeasuredPerChannel)
{
    const auto offset = stereoSine(440.0, 0.5, 0.005, 1.0); // DC 0.005 against RMS 0.354: -37 dB
    EXPECT_NEAR(bankmeter::samplePeak(offset), 0.505, 1e-3);
    EXPECT_NEAR(bankmeter::dcRelativeDb(offset), 20.0 * std::log10(0.005 / std::sqrt(0.125 + 0.005 * 0.005)), 0.2);
    EXPECT_LT(bankmeter::dcRelativeDb(stereoSine(440.0, 0.5, 0.0, 1.0)), -80.0);

    // An offset in the right channel only still counts.
    auto right = stereoSine(440.0, 0.5, 0.0, 1.0);
    for (size_t i = 1; i < right.size(); i += 2)
        right[i] += 0.05f;
    EXPECT_GT(bankmeter::dcRelativeDb(right), -20.0);
}

// The pitch of a rich tone is found to a fraction of a cent; a tone an
// octave below or above the expected one is not taken for it.
TEST(SoundMeasures, FundamentalIsFoundOnlyNearTheExpectedPitch)
{
    const size_t from = static_cast<size_t>(kRate / 2), to = static_cast<size_t>(2 * kRate);
    for (double hz : {436.0, 440.0, 441.3}) {
        const double found = bankmeter::fundamentalNear(saw(hz, 2.0, 0.3), kRate, 440.0, from, to);
        EXPECT_NEAR(bankmeter::cents(found, hz), 0.0, 0.1) << hz;
    }
    EXPECT_EQ(bankmeter::fundamentalNear(saw(220.0, 2.0, 0.3), kRate, 440.0, from, to), 0.0);
    EXPECT_EQ(bankmeter::fundamentalNear(saw(880.0, 2.0, 0.3), kRate, 440.0, from, to), 0.0);
    EXPECT_EQ(bankmeter::fundamentalNear(std::vector<float>(2 * 44100, 0.0f), kRate, 440.0, from, to), 0.0);
    EXPECT_NEAR(bankmeter::cents(880.0, 440.0), 1200.0, 1e-9);
}

// The probe keeps the oscillator with the lowest pitch offset among those
// that sound, whatever its number, and silences the other two.
TEST(SoundMeasures, PitchProbeKeepsTheLowestSoundingOscillator)
{
    std::map<int, float> program = {{1, 0.5f}, {2, 0.5f}, {3, 0.8f},   // oscillator 1 at the key
                                    {5, 0.0f}, {6, 0.5f}, {7, 0.0f},   // 2: an octave down, silent
                                    {9, 0.25f}, {10, 0.6f}, {11, 0.4f}}; // 3: six semitones down, sounding
    const auto value = [&](int i) { return program.count(i) ? program[i] : 0.0f; };
    EXPECT_EQ(bankmeter::lowestOscillator(value), 2);
    std::map<int, float> changes;
    for (const auto& [index, v] : bankmeter::pitchProbe(value))
        changes[index] = v;
    EXPECT_EQ(changes.at(3), 0.0f);
    EXPECT_EQ(changes.at(7), 0.0f);
    EXPECT_EQ(changes.count(11), 0u) << "the kept oscillator keeps its volume";
    EXPECT_EQ(changes.at(39), 1.0f) << "filter bypassed";

    program[11] = 0.0f;
    EXPECT_EQ(bankmeter::lowestOscillator(value), 0);
    program[3] = 0.0f;
    EXPECT_EQ(bankmeter::lowestOscillator(value), -1);
}
