#include "engine/Voice.h"
#include "render/KeyDepth.h"
#include "render/MidiInput.h"
#include "engine/EngineHolder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

using namespace grelmond;

namespace {

struct Programs : MidiInput::Owner {
    std::vector<int> changes;
    void midiProgramChange(int number) override { changes.push_back(number); }
};

struct MidiFixture : ::testing::Test {
    EngineHolder engine;
    KeyDepth depth;
    Programs programs;
    MidiInput midi;

    void SetUp() override { midi.attach(engine.store(), &depth, &programs); }
    void send(unsigned char status, unsigned char d1, unsigned char d2, int delta = 0)
    {
        midi.handleMessage(status, d1, d2, delta);
    }
};

} // namespace

TEST_F(MidiFixture, EventListMasksDataBytesClampsFramesAndPassesSysExBy)
{
    const uint8_t dump[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    MidiEvent events[3];
    events[0].status = MidiEvent::kSysExStatus; // bytes the input does not act on
    events[0].sysex = dump;
    events[0].sysexSize = sizeof dump;
    events[1].frame = 17;
    events[1].status = 0x93;
    events[1].data1 = 0x80 | 60; // stray high bit
    events[1].data2 = 100;
    events[2] = events[1];
    events[2].frame = -5;
    events[2].data1 = 64;
    midi.handleEvents(events, 3);
    midi.handleEvents(nullptr, 3);
    midi.handleEvents(events, 0);
    ASSERT_EQ(midi.pool().size(), 2);
    EXPECT_EQ(midi.pool()[0]->note(), 60);
    EXPECT_EQ(midi.pool()[0]->startDelay(), 17);
    EXPECT_EQ(midi.pool()[1]->note(), 64);
    EXPECT_EQ(midi.pool()[1]->startDelay(), 0);
}

TEST_F(MidiFixture, ControllersBendAndProgramChange)
{
    send(0xE0, 0, 0);
    EXPECT_EQ(midi.pitchBend(), -1.0f);
    send(0xE0, 127, 127);
    EXPECT_EQ(midi.pitchBend(), 1.0f);
    send(0xE0, 127, 63);
    EXPECT_LT(midi.pitchBend(), 0.0f);
    send(0xE0, 1, 64);
    EXPECT_GT(midi.pitchBend(), 0.0f);
    send(0xE0, 0, 64); // a centred wheel bends nothing
    EXPECT_EQ(midi.pitchBend(), 0.0f);
    send(0xE0, 0, 72);
    send(0x90, 60, 100);
    EXPECT_EQ(midi.pool()[0]->pitchBend(), midi.pitchBend());
    send(0xB5, 1, 127);
    EXPECT_FLOAT_EQ(midi.pool()[0]->modWheel(), 1.0f);
    send(0x90, 62, 100);
    EXPECT_EQ(midi.pool()[1]->modWheel(), 0.0f); // a later voice starts without modulation
    send(0xCF, 70, 0);
    EXPECT_EQ(programs.changes, std::vector<int>{70});
    send(0xB0, 123, 0, 33);
    EXPECT_TRUE(midi.pool()[0]->noteOffPending());
    EXPECT_EQ(midi.pool()[1]->releaseDelay(), 33);
    send(0xA0, 60, 1); // aftertouch: ignored
    send(0xF8, 0, 0);
    EXPECT_EQ(midi.pool().size(), 2);
}

TEST_F(MidiFixture, FullPoolStealsOldestReleasedVoiceOrDropsTheNote)
{
    for (int i = 0; i < VoicePool::kCapacity; ++i)
        send(0x90, static_cast<unsigned char>(36 + i % 90), 100);
    ASSERT_EQ(midi.pool().size(), VoicePool::kCapacity);
    send(0x90, 100, 100);
    EXPECT_EQ(midi.pool().size(), VoicePool::kCapacity);
    EXPECT_NE(midi.pool()[VoicePool::kCapacity - 1]->note(), 100); // dropped

    Voice* second = midi.pool()[1];
    Voice* third = midi.pool()[2];
    send(0x80, static_cast<unsigned char>(second->note()), 0);
    send(0x90, 101, 100);
    EXPECT_EQ(midi.pool().size(), VoicePool::kCapacity);
    EXPECT_EQ(midi.pool()[1], third); // order kept, the released voice made room
    EXPECT_EQ(midi.pool()[VoicePool::kCapacity - 1]->note(), 101);
}

TEST_F(MidiFixture, SustainPedalHoldsWithoutOverflowingItsList)
{
    send(0xB0, 64, 127);
    for (int i = 0; i < 100; ++i)
        send(0x90, static_cast<unsigned char>(40 + i % 20), 100);
    for (int round = 0; round < 20; ++round)
        for (int i = 0; i < 20; ++i)
            send(0x90, static_cast<unsigned char>(40 + i), 0); // 400 note-offs under the pedal
    EXPECT_LE(midi.held().size(), HeldNotes::kCapacity);
    for (int i = 0; i < midi.pool().size(); ++i)
        EXPECT_FALSE(midi.pool()[i]->noteOffPending());
    send(0xB0, 64, 0, 250);
    for (int i = 0; i < midi.pool().size(); ++i) {
        EXPECT_TRUE(midi.pool()[i]->noteOffPending());
        EXPECT_EQ(midi.pool()[i]->releaseDelay(), 0); // at the block's first frame
    }
    EXPECT_EQ(midi.held().size(), 0);
}
