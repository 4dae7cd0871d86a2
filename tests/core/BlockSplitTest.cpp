// However a host cuts the stream into blocks, the same events at the same
// frames give the same samples.
#include "core/Instrument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace grelmond;

namespace {

constexpr int kFrames = 44100;

// An event or parameter change at a frame of the whole stream.
struct TimedEvent {
    int frame;
    InstrumentEvent event;
};
struct Change {
    int frame;
    int index;
    float value;
};

// Random bytes of a real-time single-note tuning change, kept alive with the score.
using SysEx = std::vector<std::uint8_t>;

struct Score {
    int program = 0;
    std::vector<TimedEvent> events; // by frame
    std::vector<Change> changes;    // by frame
    std::vector<SysEx> sysex;
};

InstrumentEvent message(int status, int data1, int data2)
{
    InstrumentEvent e;
    e.status = static_cast<uint8_t>(status);
    e.data1 = static_cast<uint8_t>(data1);
    e.data2 = static_cast<uint8_t>(data2);
    return e;
}

// Notes (control keyboard included), bend, wheel, sustain, program changes,
// all-notes-off and retunings at random frames; parameter changes as a host's
// automation sets them.
Score randomScore(uint32_t seed)
{
    std::mt19937 random(seed);
    auto uniform = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    Score score;
    score.program = uniform(0, 63);
    score.sysex.reserve(64);
    for (int i = 0; i < 160; ++i) {
        const int frame = uniform(0, kFrames - 1);
        const int kind = uniform(0, 99);
        InstrumentEvent e;
        if (kind < 40)
            e = message(0x90 | uniform(0, 15), uniform(24, 96), uniform(1, 127));
        else if (kind < 60)
            e = message(0x80, uniform(24, 96), 0);
        else if (kind < 72)
            e = message(0xE0, uniform(0, 127), uniform(0, 127));
        else if (kind < 82)
            e = message(0xB0, 1, uniform(0, 127));
        else if (kind < 90)
            e = message(0xB0, 64, uniform(0, 1) * 127);
        else if (kind < 94)
            e = message(0xC0, uniform(0, 127), 0);
        else if (kind < 96)
            e = message(0xB0, 123, 0);
        else {
            score.sysex.push_back({0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, static_cast<uint8_t>(uniform(24, 96)),
                                   static_cast<uint8_t>(uniform(24, 96)), static_cast<uint8_t>(uniform(0, 127)),
                                   static_cast<uint8_t>(uniform(0, 127)), 0xF7});
            e.status = InstrumentEvent::kSysExStatus;
            e.sysex = score.sysex.back().data();
            e.sysexSize = static_cast<uint32_t>(score.sysex.back().size());
        }
        score.events.push_back({frame, e});
    }
    std::stable_sort(score.events.begin(), score.events.end(),
                     [](const TimedEvent& a, const TimedEvent& b) { return a.frame < b.frame; });
    for (int i = 0; i < 12; ++i) {
        // Main volume and the sustain level are left alone, so the score stays audible.
        int index = uniform(0, Instrument::kNumParams - 1);
        if (index == 63 || index == 61)
            index = 46;
        score.changes.push_back({uniform(0, kFrames - 1), index, std::uniform_real_distribution<float>(0, 1)(random)});
    }
    std::stable_sort(score.changes.begin(), score.changes.end(),
                     [](const Change& a, const Change& b) { return a.frame < b.frame; });
    return score;
}

// Plays the score in blocks whose sizes cycle through `sizes`; a block also
// ends where a parameter changes, as a host applies a change between blocks.
// Left and right, interleaved.
std::vector<float> play(const Score& score, const std::vector<int>& sizes)
{
    auto instrument = std::make_unique<Instrument>();
    instrument->prepare(44100.0, 4096);
    instrument->selectProgram(score.program);
    std::vector<float> left(4096), right(4096), out;
    std::vector<InstrumentEvent> block;
    std::size_t nextEvent = 0, nextChange = 0, nextSize = 0;
    for (int position = 0; position < kFrames;) {
        for (; nextChange < score.changes.size() && score.changes[nextChange].frame <= position; ++nextChange)
            instrument->setParameter(score.changes[nextChange].index, score.changes[nextChange].value);
        int end = std::min(position + sizes[nextSize++ % sizes.size()], kFrames);
        if (nextChange < score.changes.size())
            end = std::min(end, score.changes[nextChange].frame);
        block.clear();
        for (; nextEvent < score.events.size() && score.events[nextEvent].frame < end; ++nextEvent) {
            block.push_back(score.events[nextEvent].event);
            block.back().frame = score.events[nextEvent].frame - position;
        }
        instrument->handleEvents(block.data(), static_cast<int>(block.size()));
        const int frames = end - position;
        instrument->render(left.data(), right.data(), frames);
        for (int i = 0; i < frames; ++i) {
            out.push_back(left[static_cast<std::size_t>(i)]);
            out.push_back(right[static_cast<std::size_t>(i)]);
        }
        position = end;
    }
    return out;
}

std::vector<int> randomSizes(uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<int> sizes;
    for (int i = 0; i < 200; ++i)
        sizes.push_back(std::uniform_int_distribution<int>(1, i % 3 == 0 ? 4096 : 300)(random));
    return sizes;
}

// The first differing sample and by how much, or "" when none.
std::string firstDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    if (a.size() != b.size())
        return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            float largest = 0.0f;
            for (std::size_t j = i; j < a.size(); ++j)
                largest = std::max(largest, std::fabs(a[j] - b[j]));
            char text[96];
            std::snprintf(text, sizeof text, "frame %zu, largest difference %g", i / 2, largest);
            return text;
        }
    return "";
}

float peak(const std::vector<float>& x)
{
    float p = 0.0f;
    for (float v : x)
        p = std::max(p, std::fabs(v));
    return p;
}

} // namespace

TEST(BlockSplit, RandomEventsAndAutomationGiveIdenticalSamplesWhateverTheSplit)
{
    for (uint32_t seed : {11u, 12u, 13u}) {
        const Score score = randomScore(seed);
        const std::vector<float> reference = play(score, {1});
        ASSERT_GT(peak(reference), 1e-3f) << "seed " << seed << ": the score must be heard";
        const std::vector<std::vector<int>> splits = {{7}, {64}, {256, 768}, {752, 272}, {4096}, randomSizes(seed)};
        for (std::size_t s = 0; s < splits.size(); ++s)
            EXPECT_EQ(firstDifference(play(score, splits[s]), reference), "") << "seed " << seed << ", split " << s;
    }
}
