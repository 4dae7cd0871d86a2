// Faults a musician hears, measured on audio rendered through the binary
// interface. Each test prints its figure; GRELMOND_TEST_PLUGIN=path takes the
// same figures of another build.

#include "PluginPlayer.h"
#include "SoundMeasures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace soundtest;
using testsupport::MidiMessage;
using testsupport::PluginLoader;
using testsupport::PluginPlayer;

namespace {

class CleanSound : public ::testing::Test {
protected:
    PluginLoader loader{testsupport::measuredPluginPath()};
    void SetUp() override { ASSERT_TRUE(loader.loaded()) << loader.error(); }

    static void figure(const char* what, double value, const char* unit)
    {
        std::printf("[ figure   ] %s: %.2f %s\n", what, value, unit);
    }
};

constexpr unsigned char noteOn = 0x90;

} // namespace

// A jump of the main volume glides instead of stepping: what it leaves above
// 3 kHz on a 440 Hz sine stays far below the tone.
TEST_F(CleanSound, MainVolumeJumpLeavesNoClick)
{
    PluginPlayer p(loader);
    ASSERT_TRUE(p.ok());
    p.sinePatch();
    p.events({{0, noteOn, 57, 127}});
    p.render(22050 + 300); // the jump lands inside a block's frames, not at a chunk start
    p.set(63, 0.7f);
    p.render(22050);
    const std::vector<float> residue = highPass(p.left, 3000.0, 44100.0);
    const double click = decibels(peak(residue, 20000, 30000) / peak(p.left, 30000));
    figure("volume jump 0.5 -> 0.7, residue above 3 kHz", click, "dB");
    EXPECT_LT(click, -60.0);
    // The new level is reached in full.
    EXPECT_GT(peak(p.left, 30000) / peak(p.left, 10000, 20000), 5.0f);
}

// A one-second automation ramp, one value per block, glides without zipper.
TEST_F(CleanSound, MainVolumeRampHasNoZipper)
{
    PluginPlayer p(loader);
    ASSERT_TRUE(p.ok());
    p.sinePatch();
    p.events({{0, noteOn, 57, 127}});
    p.render(22016);
    const int blocks = 44100 / 512;
    for (int b = 0; b < blocks; ++b) {
        p.set(63, 0.5f + 0.2f * static_cast<float>(b + 1) / blocks);
        p.render(512);
    }
    const std::vector<float> residue = highPass(p.left, 3000.0, 44100.0);
    const std::size_t from = 22016 + 2048, to = 22016 + 512 * blocks;
    const double zipper = decibels(rms(residue, from, to) / rms(p.left, from, to));
    figure("volume ramp over 1 s, residue above 3 kHz", zipper, "dB");
    EXPECT_LT(zipper, -70.0);
}
