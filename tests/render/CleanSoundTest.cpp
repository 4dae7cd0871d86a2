// Faults a musician hears, measured on audio rendered through the binary
// interface. Each test prints its figure; GRELMOND_TEST_PLUGIN=path takes the
// same figures of another build.

#include "PluginPlayer.h"
#include "SoundMeasures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <memory>
#include <random>
#include <string>

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

namespace {

// Two factory designs: band-pass distortion, then the second voder bank with
// ensemble copies (the filter cutoff and its LFO rate as set, not as curved).
const float distortedBandPass[64] = {0.8f, 0.5f, 0.5f, 0.9f, 0.5f, 0.5f, 0.5f, 0.6f, 0, 0.5f, 0.5f, 0, 0, 0, 0, 0,
    0.5f, 0.5f, 0, 0.5f, 1, 0.5f, 0, 0.5f, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0.5f, 1, 0.5f, 0.3f, 0, 0, 0, 0, 0, 0,
    0.5f, 0, 0, 0, 0.85f, 0.2f, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0.378f, 0.8f, 0, 0.5f, 1, 0.7f, 0.928f};
const float voderChoir[64] = {0.8f, 0.5f, 0.5f, 0.9f, 0.8f, 0.5f, 0.52f, 0.7f, 0.8f, 0.5f, 0.5f, 0.3f, 0, 0, 0, 0,
    0.5f, 0.5f, 0, 0.5f, 1, 0.5f, 0, 0.5f, 0.5f, 0, 0, 0, 0.7f, 0.4f, 0, 0, 0.5f, 1, 0.5f, 0.3f, 0, 0, 0, 0, 0, 0,
    0.5f, 0, 0, 0, 0.85f, 0.2f, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0.498f, 0.9f, 0.75f, 0.5f, 1, 0.8f, 0.893f};

void storeProgram(PluginPlayer& p, int index, const float* values)
{
    p.program(index);
    for (int i = 0; i < 64; ++i)
        p.set(i, values[i]);
}

const std::vector<MidiMessage> chord = {{0, noteOn, 48, 100}, {0, noteOn, 55, 100}, {0, noteOn, 60, 100},
                                        {0, noteOn, 64, 100}};

} // namespace

// Switching programs with notes held: the sounding voices take up the new
// proc function from rest, so they sound as the new program does on its own.
TEST_F(CleanSound, ProgramSwitchWithHeldNotesKeepsTheNewProgramsLevel)
{
    PluginPlayer switched(loader), alone(loader);
    ASSERT_TRUE(switched.ok() && alone.ok());
    for (PluginPlayer* p : {&switched, &alone}) {
        storeProgram(*p, 0, distortedBandPass);
        storeProgram(*p, 1, voderChoir);
    }
    switched.program(0);
    alone.program(1);
    for (PluginPlayer* p : {&switched, &alone}) {
        p->events(chord);
        p->render(44100);
    }
    switched.program(1);
    switched.render(88200);
    alone.render(88200);
    const double level = rms(switched.left, 88200, 132300), own = rms(alone.left, 88200, 132300);
    figure("switched, held chord, peak", decibels(peak(switched.left, 44100)), "dBFS");
    figure("switched level over the new program's own", decibels(level / own), "dB");
    EXPECT_LT(std::abs(decibels(level / own)), 6.0);
    EXPECT_LT(peak(switched.left, 44100), 1.0f);
}

// Note 57 reads every waveform at its own rate; a loop pass must join as
// seamlessly as any other stretch of the waveform: no phase jump on the sine,
// no repeated sample (non-harmonic energy) on any shape.
TEST_F(CleanSound, LoopPassesJoinWithoutATick)
{
    struct Shape {
        const char* name;
        float value;
        int loop;
    };
    for (Shape shape : {Shape{"sine", 0.0f, 99223}, Shape{"pulse", 0.5f, 98645}, Shape{"saw", 0.7f, 98450},
                        Shape{"square", 1.0f, 98645}}) {
        PluginPlayer p(loader);
        ASSERT_TRUE(p.ok());
        p.sinePatch();
        p.set(8, shape.value);
        p.events({{0, noteOn, 57, 127}});
        p.render(shape.loop + 8192);
        const std::size_t wrap = static_cast<std::size_t>(shape.loop);
        const double f0 = frequency(p.left, 44100.0, 4096, wrap - 4096);
        const double atWrap = nonHarmonicShare(p.left, wrap - 4096, 8192, f0, 44100.0);
        const double elsewhere = nonHarmonicShare(p.left, wrap - 40000, 8192, f0, 44100.0);
        std::string what = std::string(shape.name) + ": non-harmonic energy at the loop wrap";
        figure(what.c_str(), atWrap, "dB");
        what = std::string(shape.name) + ": the same away from the wrap";
        figure(what.c_str(), elsewhere, "dB");
        EXPECT_LT(atWrap, elsewhere + 6.0) << shape.name;
        if (shape.value == 0.0f) {
            const std::vector<float> residue = highPass(p.left, 3000.0, 44100.0);
            const double tick = decibels(peak(residue, wrap - 2000, wrap + 2000) / peak(p.left, 4096));
            figure("sine: tick above 3 kHz at the loop pass", tick, "dB");
            EXPECT_LT(tick, -60.0);
        }
    }
}

namespace {

// The rate of a vibrato on a sine: rising crossings of its instantaneous
// frequency (from the sine's own zero crossings) through their mean.
double vibratoRate(const std::vector<float>& x, double sampleRate, std::size_t from)
{
    std::vector<double> crossings;
    for (std::size_t i = from + 1; i < x.size(); ++i)
        if (x[i - 1] < 0.0f && x[i] >= 0.0f)
            crossings.push_back(static_cast<double>(i - 1) + x[i - 1] / (double(x[i - 1]) - x[i]));
    std::vector<double> at, hz;
    for (std::size_t k = 1; k < crossings.size(); ++k) {
        at.push_back((crossings[k] + crossings[k - 1]) / 2.0);
        hz.push_back(sampleRate / (crossings[k] - crossings[k - 1]));
    }
    if (hz.size() < 3)
        return 0.0;
    double mean = 0.0;
    for (double f : hz)
        mean += f;
    mean /= static_cast<double>(hz.size());
    double first = -1.0, last = -1.0;
    int count = 0;
    for (std::size_t k = 1; k < hz.size(); ++k) {
        if (hz[k - 1] < mean && hz[k] >= mean) {
            const double t = at[k - 1] + (at[k] - at[k - 1]) * (mean - hz[k - 1]) / (hz[k] - hz[k - 1]);
            if (count++ == 0)
                first = t;
            last = t;
        }
    }
    return count < 2 ? 0.0 : (count - 1) * sampleRate / (last - first);
}

} // namespace

// The same patch sounds the same at every host rate: the free-running delay
// keeps its time and the modulation-wheel vibrato its speed.
TEST_F(CleanSound, EchoAndVibratoKeepTheirTimeAtEveryRate)
{
    double echo441 = 0.0, vibrato441 = 0.0;
    for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
        PluginPlayer echo(loader, rate);
        ASSERT_TRUE(echo.ok());
        echo.sinePatch();
        echo.set(49, 0.5f); // left: delayed only
        echo.set(50, 1.0f);
        echo.set(51, 0.0f);
        echo.set(53, 0.5f); // right: dry only
        echo.set(54, 0.0f);
        echo.events({{0, noteOn, 57, 127}});
        echo.render(static_cast<int>(rate * 0.6f));
        const long dry = firstAbove(echo.right, 1e-6f), wet = firstAbove(echo.left, 1e-6f);
        ASSERT_GE(dry, 0);
        ASSERT_GT(wet, dry) << rate;
        const double ms = 1000.0 * static_cast<double>(wet - dry) / rate;
        std::string what = "echo at " + std::to_string(static_cast<int>(rate)) + " Hz";
        figure(what.c_str(), ms, "ms");

        PluginPlayer wheel(loader, rate);
        ASSERT_TRUE(wheel.ok());
        wheel.sinePatch();
        wheel.set(12, 0.5f); // vibrato rate
        wheel.events({{0, noteOn, 57, 127}, {0, 0xB0, 1, 127}});
        wheel.render(static_cast<int>(rate * 2.0f));
        const double hz = vibratoRate(wheel.left, rate, static_cast<std::size_t>(rate * 0.1f));
        what = "vibrato at " + std::to_string(static_cast<int>(rate)) + " Hz";
        figure(what.c_str(), hz, "Hz");

        if (rate == 44100.0f) {
            echo441 = ms;
            vibrato441 = hz;
            EXPECT_NEAR(ms, 1000.0 * 24000 / 44100.0, 0.1);
            EXPECT_GT(hz, 3.0);
        } else {
            EXPECT_NEAR(ms, echo441, 0.05) << rate;
            // Within what the sub-block stepping of the vibrato leaves at block 512.
            EXPECT_NEAR(hz, vibrato441, vibrato441 * 0.03) << rate;
        }
    }
}

// The longest free-running delay fits the buffers at the highest rates.
TEST_F(CleanSound, LongestEchoFitsAtHighRates)
{
    for (float rate : {192000.0f, 384000.0f}) {
        PluginPlayer p(loader, rate, 4096);
        ASSERT_TRUE(p.ok());
        p.sinePatch();
        p.set(49, 1.0f);
        p.set(50, 1.0f);
        p.set(51, 0.0f);
        p.set(54, 0.0f);
        p.events({{0, noteOn, 57, 127}});
        p.render(static_cast<int>(rate * 1.15f));
        const long dry = firstAbove(p.right, 1e-6f), wet = firstAbove(p.left, 1e-6f);
        EXPECT_NEAR(1000.0 * static_cast<double>(wet - dry) / rate, 1000.0 * 48000 / 44100.0, 0.1) << rate;
    }
}

// With every voice busy, the released voice that makes room fades out from
// the new note's frame instead of stopping dead at the start of the block.
TEST_F(CleanSound, StolenVoiceFadesOut)
{
    const int blockStart = 8192, noteFrame = 300;
    auto play = [&](bool fill, bool steal) {
        auto p = std::make_unique<PluginPlayer>(loader);
        p->sinePatch();
        p->set(11, 0.0f); // oscillator 3 off,
        p->set(3, 1.0f);  // oscillator 1 on: the sine at full volume
        p->set(62, 0.9f); // a long release: the released voice still sounds
        p->set(37, 1.0f); // velocity sets the level
        // Note 57 reads the sine sample by sample and note 45 at half steps:
        // neither leaves interpolation noise above 3 kHz. The 127 others
        // are quiet, so the stolen voice stands out.
        std::vector<MidiMessage> on = {{0, noteOn, 45, 127}};
        if (fill)
            for (int i = 1; i < 128; ++i)
                on.push_back({0, noteOn, 57, 1});
        p->events(on);
        p->render(4096);
        p->events({{0, 0x80, 45, 0}});
        p->render(blockStart - 4096);
        if (steal)
            p->events({{noteFrame, noteOn, 72, 100}});
        p->render(4096);
        return p;
    };
    auto solo = play(false, false), stolen = play(true, true), unstolen = play(false, true);
    // Without the new note (heard in both) and above 3 kHz, where the sines
    // are gone, what is left is the stolen voice's end.
    std::vector<float> difference(stolen->left.size());
    for (std::size_t i = 0; i < difference.size(); ++i)
        difference[i] = stolen->left[i] - unstolen->left[i];
    const std::vector<float> residue = highPass(difference, 3000.0, 44100.0);
    const double click = decibels(peak(residue, blockStart - 500, blockStart + noteFrame + 500) /
                                  peak(solo->left, blockStart - 2000, blockStart));
    figure("stolen voice, residue above 3 kHz against its level", click, "dB");
    EXPECT_LT(click, -50.0);
}

// Property: a minute of random notes, random parameter values (as a host
// fuzzing automation would send) and program changes never puts a sample
// above 1,000 (+60 dBFS) or a NaN into the host's buffers, at 44.1 or 96 kHz.
TEST_F(CleanSound, RandomPlayingStaysBoundedAndFinite)
{
    for (float rate : {44100.0f, 96000.0f}) {
        PluginPlayer p(loader, rate, 4096);
        ASSERT_TRUE(p.ok());
        std::mt19937 random(rate == 44100.0f ? 13 : 29);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        std::uniform_int_distribution<int> key(24, 108), velocity(1, 127), block(32, 1024);
        std::vector<float> l(1024), r(1024);
        float* outputs[2] = {l.data(), r.data()};
        vst::AEffect* e = p.plugin().effect();
        const long total = static_cast<long>(rate * 60.0f);
        float worst = 0.0f;
        long done = 0, nextValues = 0, nextProgram = 0, nextNote = 0;
        std::vector<std::pair<long, unsigned char>> sounding;
        while (done < total) {
            if (done >= nextValues) {
                // Ends of the range as often as not: switches are on only at
                // 0 (filter bypass, high-pass), and extremes find the faults.
                for (int i = 0; i < 64; ++i) {
                    const float u = unit(random);
                    p.set(i, u < 0.3f ? 0.0f : u < 0.4f ? 1.0f : unit(random));
                }
                p.set(62, 0.8f * unit(random)); // releases of at most a second keep the voice count moderate
                nextValues = done + static_cast<long>(rate * (0.05f + unit(random)));
            }
            const int n = std::min<long>(block(random), total - done);
            std::vector<MidiMessage> events;
            if (done >= nextProgram) {
                const int program = static_cast<int>(unit(random) * 64.0f) & 63;
                if (unit(random) < 0.5f)
                    p.program(program);
                else
                    events.push_back({0, 0xC0, static_cast<unsigned char>(program), 0});
                nextProgram = done + static_cast<long>(rate * (1.0f + 3.0f * unit(random)));
            }
            for (auto it = sounding.begin(); it != sounding.end();) {
                if (it->first <= done) {
                    events.push_back({0, 0x80, it->second, 0});
                    it = sounding.erase(it);
                } else {
                    ++it;
                }
            }
            while (nextNote < done + n) {
                const int at = static_cast<int>(std::max(nextNote - done, 0L));
                const auto note = static_cast<unsigned char>(key(random));
                events.push_back({at, noteOn, note, static_cast<unsigned char>(velocity(random))});
                sounding.push_back({nextNote + static_cast<long>(rate * 3.0f * unit(random)), note});
                if (unit(random) < 0.1f)
                    events.push_back({at, 0xB0, 1, static_cast<unsigned char>(velocity(random))});
                if (unit(random) < 0.1f)
                    events.push_back({at, 0xE0, 0, static_cast<unsigned char>(velocity(random))});
                nextNote += static_cast<long>(rate * (0.05f + 0.3f * unit(random)));
            }
            p.events(events);
            e->processReplacing(e, nullptr, outputs, n);
            for (int i = 0; i < n; ++i) {
                ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << rate << " frame " << done + i;
                worst = std::max({worst, std::abs(l[i]), std::abs(r[i])});
            }
            done += n;
        }
        std::string what = "random minute at " + std::to_string(static_cast<int>(rate)) + " Hz, peak";
        figure(what.c_str(), worst, "");
        EXPECT_LT(worst, 1000.0f) << rate;
    }
}

