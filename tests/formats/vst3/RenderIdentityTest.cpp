#include "FormatComparison.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// The VST 3 build plays the same samples as the VST 2 build: notes, pitch
// bend, modulation wheel, sustain and automation, at the usual rates.

using namespace vst3test;

namespace {

constexpr int kBlock = 512;

// Notes, bend, mod wheel and sustain, never two at one instant (a host's
// order for simultaneous messages is its own).
std::vector<Message> phrase()
{
    return {
        {0.000, 0x90, 60, 100}, {0.050, 0x90, 64, 90},  {0.110, 0xB0, 1, 90},   {0.170, 0xE0, 0, 80},
        {0.230, 0x90, 67, 110}, {0.290, 0xB0, 64, 127}, {0.350, 0x80, 60, 0},   {0.410, 0x80, 64, 0},
        {0.470, 0xE0, 127, 30}, {0.530, 0x90, 48, 120}, {0.590, 0xB0, 1, 0},    {0.650, 0x80, 67, 0},
        {0.710, 0xB0, 64, 0},   {0.770, 0x90, 20, 90},  {0.830, 0x90, 72, 127}, {0.890, 0xE0, 0, 64},
        {0.950, 0x80, 48, 0},   {1.010, 0x80, 72, 0},   {1.070, 0x90, 55, 70},  {1.300, 0x80, 55, 0},
    };
}

// Automation points at block starts, where VST 2 hosts apply them too.
std::string automation(int rate)
{
    const int points[][3] = {{20, 46, 20}, {40, 63, 80}, {55, 57, 40}, {70, 49, 30}, {85, 52, 100}, {100, 46, 90}};
    std::string list;
    char item[64];
    for (const auto& p : points) {
        const int block = p[0] * rate / 44100;
        std::snprintf(item, sizeof item, "%s%.17g:%d:%g", list.empty() ? "" : ",",
                      static_cast<double>(block) * kBlock / rate, p[1], p[2] / 100.0);
        list += item;
    }
    return list;
}

} // namespace

class RenderIdentity : public ::testing::TestWithParam<int> {};

TEST_P(RenderIdentity, PhraseWithControllersAndAutomationMatchesVst2SampleForSample)
{
    const int rate = GetParam();
    const std::string midi = tempPath("phrase-" + std::to_string(rate) + ".mid");
    writeMidiFile(midi, phrase());
    const std::string args = "--rate " + std::to_string(rate) + " --block " + std::to_string(kBlock) +
                             " --program 9 --tempo 132 --seconds 2 --midi " + midi + " --automate " + automation(rate);
    const Render vst2 = render(args, vst2Path());
    const Render vst3 = render(args, vst3Path());
    ASSERT_EQ(vst2.status, 0) << vst2.output;
    ASSERT_EQ(vst3.status, 0) << vst3.output;
    ASSERT_EQ(vst3.rate, rate);
    ASSERT_EQ(vst3.samples.size(), static_cast<size_t>(2 * 2 * rate));
    EXPECT_EQ(firstDifference(vst2, vst3), "");

    float peak = 0.0f;
    for (float s : vst3.samples)
        peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 0.01f) << "the phrase must be heard for the comparison to mean anything";
    std::remove(midi.c_str());
}

INSTANTIATE_TEST_SUITE_P(Rates, RenderIdentity, ::testing::Values(44100, 48000, 96000));

TEST(RenderIdentity, OddBlockSizesAndAccumulatingOutputMatchVst2)
{
    const std::string args = "--notes 0:60:100:0.3,0.1:64:90:0.3,0.2:67:90:0.4,0.5:48:110:0.6,0.6:20:90:0.2 "
                             "--seconds 1.2 --block 333 --process accumulate --program 21";
    const Render vst2 = render(args, vst2Path());
    const Render vst3 = render(args, vst3Path());
    ASSERT_EQ(vst2.status, 0) << vst2.output;
    ASSERT_EQ(vst3.status, 0) << vst3.output;
    EXPECT_EQ(firstDifference(vst2, vst3), "");
}

TEST(RenderIdentity, AutomationInsideABlockTakesEffect)
{
    // VST 3 applies a point at its frame: a change late in the block must
    // change the sound, and one past the render must not.
    const std::string notes = "--notes 0:60:100:1 --seconds 1 --block 4096 --program 3 ";
    const Render plain = render(notes, vst3Path());
    const Render moved = render(notes + "--automate 0.5:63:0.05", vst3Path());
    const Render late = render(notes + "--automate 5:63:0.05", vst3Path());
    ASSERT_EQ(plain.status, 0) << plain.output;
    EXPECT_NE(firstDifference(plain, moved), "");
    EXPECT_EQ(firstDifference(plain, late), "");
}
