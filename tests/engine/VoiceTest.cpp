#include "VoiceRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

double zeroCrossingFrequency(const std::vector<float>& s, int sampleRate, int skip) {
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (std::size_t i = static_cast<std::size_t>(skip) + 1; i < s.size(); ++i) {
        if (s[i - 1] < 0.0f && s[i] >= 0.0f) {
            double t = double(i - 1) + double(-s[i - 1]) / double(s[i] - s[i - 1]);
            if (first < 0.0) first = t;
            last = t;
            ++crossings;
        }
    }
    return (crossings - 1) * double(sampleRate) / (last - first);
}

float peak(const std::vector<float>& s) {
    float p = 0.0f;
    for (float v : s) p = std::max(p, std::fabs(v));
    return p;
}

} // namespace

TEST(Voice, Note57OnTheSinePlays440HzAtEveryRate) {
    for (int rate : {44100, 48000, 96000}) {
        VoiceRig rig(rate);
        auto r = rig.render(rig.start(57), rate);
        EXPECT_TRUE(r.channelsEqual);
        EXPECT_NEAR(zeroCrossingFrequency(r.left, rate, rate / 100), 440.0, 0.02) << rate;
        // Sine peak 5300 of 32767, oscillator gain 0.75, mix / 8.
        EXPECT_NEAR(peak(r.left), 5300.0f / 32767.0f * 0.75f / 8.0f, 1e-3f) << rate;
    }
}

// Differing oscillator pitches re-derive the phase counters at every block;
// that must not stall the waveform and flatten the note.
TEST(Voice, TwoOscillatorsStayInTuneAtEveryRate) {
    const double unison = (440.0 + 440.0 * std::pow(2.0, -0.01 / 12.0)) / 2.0;
    for (int rate : {44100, 48000, 96000}) {
        VoiceRig rig(rate);
        rig.set(7, 1.0f); // oscillator 2 as well, 0.01 semitone below
        auto r = rig.render(rig.start(57), rate);
        EXPECT_NEAR(zeroCrossingFrequency(r.left, rate, rate / 100), unison, 0.05) << rate;
    }
}

TEST(Voice, CoarseTuningAndBandsKeepPitch) {
    VoiceRig rig;
    rig.set(0, 0.5f); // sawtooth family
    rig.set(1, 0.75f); // +6 semitones: key 66 plays band 3 at -3
    auto r = rig.render(rig.start(60), 44100);
    double expected = 440.0 * std::pow(2.0, (66 - 57) / 12.0);
    EXPECT_NEAR(1200.0 * std::log2(zeroCrossingFrequency(r.left, 44100, 441) / expected), 0.0, 3.0);
}

TEST(Voice, RetuningDuringANoteKeepsTheWaveformPosition) {
    VoiceRig rig;
    grelmond::Voice* v = rig.start(57);
    auto before = rig.render(v, 44100);
    rig.set(2, 0.8f); // fine tune up
    auto after = rig.render(v, 4410);
    // A jump or a stalled frame shows as a kink: a second difference far
    // beyond what the smooth sine has.
    auto bend = [](const std::vector<float>& s, std::size_t i) { return std::fabs(s[i + 1] - 2.0f * s[i] + s[i - 1]); };
    float steady = 0.0f;
    for (std::size_t i = 1; i + 1 < before.left.size(); ++i) steady = std::max(steady, bend(before.left, i));
    // (The block after the retune goes back to the exact increment, which may
    // move the position by up to one step; that is checked by the tuning tests.)
    std::vector<float> joined(before.left.end() - 2, before.left.end());
    joined.insert(joined.end(), after.left.begin(), after.left.begin() + 441);
    for (std::size_t i = 1; i + 1 < joined.size(); ++i) ASSERT_LT(bend(joined, i), steady * 1.5f) << i;
    EXPECT_GT(zeroCrossingFrequency(after.left, 44100, 0), 445.0);
}

TEST(Voice, StartDelayIsSampleExact) {
    VoiceRig rig;
    const int delay = 1000;
    auto now = rig.render(rig.start(57, 127, 0), 4410);
    auto later = rig.render(rig.start(57, 127, delay), 4410 + delay);
    for (int i = 0; i < delay; ++i) ASSERT_EQ(later.left[i], 0.0f) << i;
    for (int i = 0; i < 4410; ++i) ASSERT_FLOAT_EQ(later.left[i + delay], now.left[i]) << i;
}

TEST(Voice, EndsByItsAmplitudeEnvelope) {
    VoiceRig rig;
    rig.envelopes(0, 5, 0.0f, 0);
    // Sustain 0 ends a held note once attack and decay are over, sounding or not.
    EXPECT_EQ(rig.render(rig.start(), 44100).aliveChunks, 5);
    for (int k = 0; k < 3; ++k) rig.set(4 * k + 3, 0.0f);
    auto silent = rig.render(rig.start(), 44100);
    EXPECT_EQ(silent.aliveChunks, 5);
    EXPECT_EQ(peak(silent.left), 0.0f);

    rig.envelopes(0, 0, 1.0f, 10);
    rig.set(3, 1.0f);
    grelmond::Voice* v = rig.start();
    EXPECT_EQ(rig.render(v, 4410).aliveChunks, 10);
    v->noteOff(100);
    v->noteOff(5); // a second note-off changes nothing
    EXPECT_EQ(v->releaseDelay(), 100);
    // Releasing from the next chunk; ten ticks of release, five silent ones.
    auto tail = rig.render(v, 44100);
    EXPECT_EQ(tail.aliveChunks, 1 + 15);
    EXPECT_TRUE(v->finished());
    // Silent once the smoothing has caught up with the release's end.
    EXPECT_LT(peak(std::vector<float>(tail.left.begin() + 12 * 441, tail.left.end())), 1e-12f);
}

TEST(Voice, AttackStartsSilentForOneChunk) {
    VoiceRig rig;
    rig.envelopes(10, 0, 1.0f, 0);
    auto r = rig.render(rig.start(), 882);
    EXPECT_EQ(peak(std::vector<float>(r.left.begin(), r.left.begin() + 441)), 0.0f);
    EXPECT_GT(peak(std::vector<float>(r.left.begin() + 441, r.left.end())), 0.0f);
}

TEST(Voice, VelocityScalesAmplitudeOnlyAsAsked) {
    VoiceRig rig;
    rig.set(37, 1.0f);
    float full = peak(rig.render(rig.start(57, 127), 4410).left);
    float soft = peak(rig.render(rig.start(57, 1), 4410).left);
    EXPECT_NEAR(soft, full / 127.0f, full * 1e-4f);
    rig.set(37, 0.0f);
    EXPECT_FLOAT_EQ(peak(rig.render(rig.start(57, 1), 4410).left), full);
}

// Whatever the function does to oscillators 1 and 2, oscillator 3 is added after it.
TEST(Voice, ThirdOscillatorBypassesEveryProcFunction) {
    for (float invert : {0.0f, 1.0f}) {
        VoiceRig rig;
        rig.set(30, invert); // proc level 0 or 1
        rig.set(3, 0.0f);
        rig.set(11, 1.0f);
        rig.set(8, 0.5f);
        // Each note in the same pool slot, so the noise functions draw alike.
        auto play = [&rig] {
            grelmond::Voice* v = rig.start(60);
            auto result = rig.render(v, 8820);
            rig.engine.store()->destroyVoice(v);
            return result;
        };
        auto plain = play();
        for (int f = 0; f < 26; ++f) {
            if (invert != 0.0f && f == 17) continue; // chaos moves oscillator 3's pitch on purpose
            rig.setFunction(f);
            rig.set(11, 1.0f);
            auto with = play();
            rig.set(11, 0.0f);
            auto without = play();
            for (std::size_t i = 0; i < plain.left.size(); ++i)
                ASSERT_NEAR(with.left[i] - without.left[i], plain.left[i], 1e-6f) << "function " << f << " frame " << i;
        }
    }
}

TEST(Voice, StaysFiniteAtTheExtremes) {
    for (int rate : {8000, 44100, 96000}) {
        for (int f = 0; f < 26; ++f) {
            for (int extreme = 0; extreme < 4; ++extreme) {
                VoiceRig rig(rate);
                for (int k = 0; k < 3; ++k) {
                    rig.set(4 * k + 0, 0.4f * k);
                    rig.set(4 * k + 1, k == 2 ? 1.0f : 0.0f);
                    rig.set(4 * k + 3, 1.0f);
                }
                rig.setFunction(f);
                rig.set(30, extreme & 1 ? 1.0f : 0.0f); // proc level 1 or 0
                rig.input.keyDepth = extreme & 2 ? 1.0f : 0.0f;
                rig.set(35, 1.0f); // "FlLfoFed"
                rig.set(39, 0.0f); // filter on
                rig.input.resonance = 1.0f;
                rig.input.envAmount = 1.0f;
                rig.input.pitchMod = 1.0f;
                grelmond::Voice* v = rig.start(100);
                v->setModWheel(1.0f);
                v->setPitchBend(1.0f);
                auto r = rig.render(v, rate);
                for (float s : r.left)
                    ASSERT_TRUE(std::isfinite(s) && std::fabs(s) < 10.0f) << rate << " function " << f << " case " << extreme;
            }
        }
    }
}

TEST(Voice, RecoversFromANonFiniteMoment) {
    VoiceRig rig;
    rig.set(39, 0.0f);
    grelmond::Voice* v = rig.start();
    rig.input.cutoff = NAN;
    rig.render(v, 441);
    rig.input.cutoff = 0.5f;
    auto r = rig.render(v, 4410);
    for (float s : r.left) ASSERT_TRUE(std::isfinite(s));
    EXPECT_GT(peak(r.left), 0.0f);
}

TEST(Voice, ReleasesOnTimeAfterADayLongHold) {
    const float day = 24.0f * 3600.0f * 100.0f; // ticks
    for (int rate : {44100, 96000}) {
        for (int frames : {1, 16, 32, 441}) {
            VoiceRig rig(rate);
            rig.envelopes(0, 0, 1.0f, 10);
            rig.input.frames = frames;
            grelmond::Voice* v = rig.start();
            rig.render(v, rate / 10);
            v->context().noteClock = day; // as if held for 24 hours
            auto held = rig.render(v, rate / 10);
            EXPECT_GT(peak(held.left), 0.01f);
            v->noteOff(0);
            // Ten ticks of release and five silent ones: 0.15 s, plus the call
            // in which the release starts.
            auto tail = rig.render(v, rate);
            EXPECT_TRUE(v->finished()) << rate << " Hz, calls of " << frames;
            const double seconds = double(tail.aliveChunks) * frames / rate;
            EXPECT_NEAR(seconds, 0.15, 0.011) << rate << " Hz, calls of " << frames;
        }
    }
}

TEST(Voice, LongNoteClockKeepsExactTime) {
    // Past the envelopes' reach, an hour in calls of 16 frames moves the clock
    // by exactly the frames played, within a thousandth of a tick.
    grelmond::VoiceContext c;
    c.noteClock = 4096.0f;
    const float step = 16.0f * 100.0f / 44100.0f;
    const long calls = 3600L * 44100L / 16L;
    for (long i = 0; i < calls; ++i) c.advanceClock(step);
    const double played = double(calls) * double(step);
    EXPECT_GE(c.noteClock, 8192.0f);
    EXPECT_LT(c.noteClock, 16384.0f);
    EXPECT_NEAR(std::remainder(4096.0 + played - double(c.noteClock), 8192.0), 0.0, 1e-3);
}

// A voice ended mid-chunk to make room and its slot started again at once:
// the new note is set up afresh, not played on with the old note's block.
TEST(Voice, SlotReusedMidChunkPlaysTheNewNote) {
    VoiceRig reused, fresh;
    grelmond::Voice* old = reused.start(57);
    grelmond::VoiceRenderInput part = reused.input;
    part.frames = 200;
    part.chunkLeft = 441;
    std::vector<float> left(441), right(441);
    old->render(left.data(), right.data(), part);
    reused.engine.store()->destroyVoice(old);
    grelmond::Voice* again = reused.start(69);
    ASSERT_EQ(again, old);
    const auto a = reused.render(again, 4410);
    const auto b = fresh.render(fresh.start(69), 4410);
    EXPECT_EQ(a.left, b.left);
}
