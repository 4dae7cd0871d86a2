#include "SoundMeasures.h"
#include "VoiceRig.h"

#include "engine/TuningExchange.h"
#include "params/TuningTable.h"
#include "storage/KeyboardMapping.h"
#include "storage/ScalaScale.h"
#include "storage/ScalaTuning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <atomic>
#include <thread>

using namespace grelmond;

namespace {

TuningTable shippedTuning(const char* name)
{
    std::ifstream in(std::string(testpaths::sourceDir()) + "/resources/tunings/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ScalaScale scale;
    TuningTable table;
    EXPECT_TRUE(ScalaScale::parse(text.str(), scale).ok()) << name;
    EXPECT_TRUE(ScalaTuning::build(scale, KeyboardMapping::standard(), table).ok()) << name;
    return table;
}

// The rig's sine plays note 57 at 440 Hz; notes from 12 up play an octave
// down (coarse -12) so that even the highest stay well below half the rate.
// Notes whose pitch lies outside the keyboard's own range (below 7 Hz or above
// 13 kHz, as the wide Bohlen-Pierce steps reach) are left out of `measured`.
double worstCents(const TuningTable& table, const std::vector<double>& pitch, int rate, int* measured = nullptr)
{
    double worst = 0.0;
    int count = 0;
    VoiceRig rig(rate);
    for (int note = 0; note < 128; ++note) {
        const int coarse = note >= 12 ? -12 : 0;
        const double target = 440.0 * std::exp2((pitch[static_cast<std::size_t>(note)] + coarse - 57.0) / 12.0);
        if (target < 7.0 || target > 13000.0)
            continue;
        rig.set(1, 0.5f + coarse / 24.0f);
        rig.input.tuning = &table;
        Voice* v = rig.start(note);
        const int frames = target < 100.0 ? rate : rate / 4;
        auto r = rig.render(v, frames);
        const double cents = 1200.0 * std::log2(soundtest::frequency(r.left, rate, static_cast<std::size_t>(rate / 50), r.left.size()) / target);
        EXPECT_LT(std::abs(cents), 0.1) << "note " << note << " at " << rate << " Hz";
        worst = std::max(worst, std::abs(cents));
        ++count;
        rig.engine.store()->destroyVoice(v);
    }
    if (measured != nullptr)
        *measured = count;
    return worst;
}

// Pitches of a scale of ratios (the last one its period) with its first degree on note 60.
std::vector<double> ratioPitches(const std::vector<double>& ratios)
{
    const int n = static_cast<int>(ratios.size());
    const double period = 12.0 * std::log2(ratios.back());
    std::vector<double> pitch;
    for (int note = 0; note < 128; ++note) {
        const int steps = note - 60, repeats = (steps + 100 * n) / n - 100, degree = steps - n * repeats;
        pitch.push_back(60.0 + period * repeats + (degree == 0 ? 0.0 : 12.0 * std::log2(ratios[static_cast<std::size_t>(degree - 1)])));
    }
    return pitch;
}

std::vector<double> equalPitches(int steps)
{
    std::vector<double> pitch;
    for (int note = 0; note < 128; ++note)
        pitch.push_back(60.0 + (note - 60) * 12.0 / steps);
    return pitch;
}

} // namespace

// Every note of 19 equal steps and of just intonation, at three rates, lands
// within a tenth of a cent of the pitch the scale gives it; so do the other
// shipped scales (31 equal steps, quarter-comma meantone, and Bohlen-Pierce
// with its 3/1 period) wherever their notes can be measured.
TEST(TuningPitch, EveryNoteOfTheShippedScalesIsInTune)
{
    // Four fifths make a pure third 5/4 two octaves up: each fifth is 5^(1/4).
    const double fifth = std::pow(5.0, 0.25);
    std::vector<double> meantone;
    // Fifths from C, Eb to G#, folded into the octave.
    for (int fifths : {7, 2, -3, 4, -1, 6, 1, 8, 3, -2, 5}) {
        double r = std::pow(fifth, fifths);
        while (r >= 2.0) r /= 2.0;
        while (r < 1.0) r *= 2.0;
        meantone.push_back(r);
    }
    meantone.push_back(2.0);
    struct Case {
        const char* file;
        std::vector<double> pitch;
    } cases[] = {
        {"equal-19.scl", equalPitches(19)},
        {"just-12.scl", ratioPitches({16.0 / 15, 9.0 / 8, 6.0 / 5, 5.0 / 4, 4.0 / 3, 45.0 / 32, 3.0 / 2, 8.0 / 5,
                                      5.0 / 3, 9.0 / 5, 15.0 / 8, 2.0})},
        {"equal-31.scl", equalPitches(31)},
        {"meantone-quarter-comma.scl", ratioPitches(meantone)},
        {"bohlen-pierce.scl", ratioPitches({27.0 / 25, 25.0 / 21, 9.0 / 7, 7.0 / 5, 75.0 / 49, 5.0 / 3, 9.0 / 5,
                                            49.0 / 25, 15.0 / 7, 7.0 / 3, 63.0 / 25, 25.0 / 9, 3.0})},
    };
    for (const Case& c : cases) {
        const TuningTable table = shippedTuning(c.file);
        for (int rate : {44100, 48000, 96000}) {
            int measured = 0;
            const double worst = worstCents(table, c.pitch, rate, &measured);
            EXPECT_GE(measured, 75) << c.file;
            std::printf("worst pitch error at %d Hz, %s: %.4f cents over %d notes\n", rate, c.file, worst, measured);
        }
    }
}

// Equal temperament as a table, as no table, or as twelve equal steps read
// from a file: the same samples, bit for bit, through a patch that uses every
// stage of the voice.
TEST(TuningPitch, EqualTemperamentRendersExactlyAsWithoutATuning)
{
    TuningTable equal;
    ScalaScale twelve;
    ASSERT_TRUE(ScalaScale::parse("12\n12\n100.0\n200.0\n300.0\n400.0\n500.0\n600.0\n700.0\n800.0\n900.0\n1000.0\n"
                                  "1100.0\n1200.0\n",
                                  twelve)
                    .ok());
    TuningTable fromFile;
    fromFile.set(10, 3.0);
    ASSERT_TRUE(ScalaTuning::build(twelve, KeyboardMapping::standard(), fromFile).ok());
    std::vector<float> renders[3];
    const TuningTable* tables[3] = {nullptr, &equal, &fromFile};
    for (int i = 0; i < 3; ++i) {
        VoiceRig rig;
        const float shapes[3] = {0.5f, 0.35f, 1.0f}, coarse[3] = {0.5f, 0.5f, 0.75f}, fine[3] = {0.45f, 0.5f, 0.55f};
        for (int k = 0; k < 3; ++k) {
            rig.set(4 * k + 0, shapes[k]);
            rig.set(4 * k + 1, coarse[k]);
            rig.set(4 * k + 2, fine[k]);
            rig.set(4 * k + 3, 0.8f);
        }
        rig.set(12, 0.6f);
        rig.setFunction(1);
        rig.set(58, 0.8f);
        rig.set(39, 0.0f);
        rig.input.cutoff = 0.3f;
        rig.input.resonance = 0.6f;
        rig.input.pitchMod = 0.3f;
        rig.input.tuning = tables[i];
        Voice* v = rig.start(61, 100);
        v->setModWheel(0.4f);
        v->setPitchBend(-0.25f);
        renders[i] = rig.render(v, 8820).left;
    }
    EXPECT_EQ(renders[0], renders[1]);
    EXPECT_EQ(renders[0], renders[2]);
}

// A retuned table reaches a sounding note at its next block; the bend and the
// fine offset act on top of the tuning.
TEST(TuningPitch, RetuningMovesASoundingNoteAndBendAddsOnTop)
{
    VoiceRig rig;
    TuningTable table;
    rig.input.tuning = &table;
    Voice* v = rig.start(57);
    auto before = rig.render(v, 11025);
    table.set(57, 0.5);
    auto after = rig.render(v, 11025);
    v->setPitchBend(1.0f);
    auto bent = rig.render(v, 11025);
    EXPECT_NEAR(soundtest::frequency(before.left, 44100, 441, before.left.size()), 440.0, 440.0 * 0.0001);
    EXPECT_NEAR(soundtest::frequency(after.left, 44100, 441, after.left.size()), 440.0 * std::exp2(0.5 / 12), 0.05);
    EXPECT_NEAR(soundtest::frequency(bent.left, 44100, 441, bent.left.size()), 440.0 * std::exp2(1.5 / 12), 0.05);
}

// Tables handed over while the reader takes them arrive whole: every table
// taken is one of those published, never a mix of two.
TEST(TuningExchange, TablesArriveWholeAndTheNewestWins)
{
    TuningExchange exchange;
    TuningTable got;
    EXPECT_FALSE(exchange.take(got));
    constexpr int kTables = 20000;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 1; i <= kTables; ++i) {
            TuningTable t;
            for (int note = 0; note < TuningTable::kNotes; ++note)
                t.set(note, i % 97 + 1);
            exchange.publish(t);
        }
        done = true;
    });
    bool whole = true;
    while (!done) {
        if (exchange.take(got))
            for (int note = 1; note < TuningTable::kNotes; ++note)
                whole = whole && got.deviation(note) == got.deviation(0);
    }
    writer.join();
    exchange.take(got);
    EXPECT_TRUE(whole);
    EXPECT_EQ(got.deviation(0), static_cast<float>(kTables % 97 + 1));
    EXPECT_FALSE(exchange.take(got));
}
