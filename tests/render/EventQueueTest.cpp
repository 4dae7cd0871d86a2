#include "core/Instrument.h"
#include "engine/Voice.h"
#include "render/EventQueue.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace grelmond;

namespace {

MidiEvent at(int frame, uint8_t status, uint8_t data1 = 0, uint8_t data2 = 0)
{
    MidiEvent e;
    e.frame = frame;
    e.status = status;
    e.data1 = data1;
    e.data2 = data2;
    return e;
}

} // namespace

TEST(EventQueue, KeepsOrderCopiesSystemExclusiveBytesAndRefusesWhenFull)
{
    auto queue = std::make_unique<EventQueue>();
    std::vector<uint8_t> bytes = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0xF7};
    MidiEvent sysex = at(20, MidiEvent::kSysExStatus);
    sysex.sysex = bytes.data();
    sysex.sysexSize = static_cast<uint32_t>(bytes.size());
    ASSERT_TRUE(queue->add(at(-5, 0x90, 60, 100)));
    ASSERT_TRUE(queue->add(sysex));
    ASSERT_TRUE(queue->add(at(10, 0x80, 60)));
    bytes.assign(bytes.size(), 0); // the sender's bytes are gone after the call

    EXPECT_EQ(queue->nextFrame(), 0); // a negative frame counts as the first
    EXPECT_EQ(queue->take().status, 0x90);
    EXPECT_EQ(queue->nextFrame(), 20);
    const MidiEvent& kept = queue->take();
    ASSERT_EQ(kept.sysexSize, 7u);
    EXPECT_EQ(kept.sysex[0], 0xF0);
    EXPECT_EQ(kept.sysex[6], 0xF7);
    EXPECT_EQ(queue->take().frame, 10); // in the order given, not sorted
    EXPECT_TRUE(queue->empty());

    // Drained, it takes a full load again; one more is refused.
    for (int i = 0; i < EventQueue::kCapacity; ++i)
        ASSERT_TRUE(queue->add(at(i, 0xB0, 1, 64)));
    EXPECT_FALSE(queue->add(at(0, 0xB0, 1, 64)));
    while (!queue->empty())
        queue->take();

    // So are bytes beyond the store, with the event.
    std::vector<uint8_t> large(EventQueue::kSysExBytes + 1, 0x01);
    MidiEvent huge = at(0, MidiEvent::kSysExStatus);
    huge.sysex = large.data();
    huge.sysexSize = static_cast<uint32_t>(large.size());
    EXPECT_FALSE(queue->add(huge));
    EXPECT_TRUE(queue->empty());
}

// More events than the instrument holds in one block: the earlier ones play
// at once, in order, and none is lost, so the note-offs at the end still find
// their notes.
TEST(EventQueue, OverflowingBlockLosesNoNoteOff)
{
    auto instrument = std::make_unique<Instrument>();
    std::vector<InstrumentEvent> events;
    for (int key = 40; key < 80; ++key)
        events.push_back(at(key - 39, 0x90, static_cast<uint8_t>(key), 100));
    for (int i = 0; i < EventQueue::kCapacity + 100; ++i)
        events.push_back(at(41 + i / 2, 0xB0, 1, static_cast<uint8_t>(i % 128)));
    for (int key = 40; key < 80; ++key)
        events.push_back(at(5000, 0x80, static_cast<uint8_t>(key)));
    std::vector<float> left(8192), right(8192);
    instrument->handleEvents(events.data(), static_cast<int>(events.size()));
    instrument->render(left.data(), right.data(), 8192);
    const VoicePool& pool = instrument->renderer().midi().pool();
    ASSERT_EQ(pool.size(), 40);
    for (int i = 0; i < pool.size(); ++i)
        EXPECT_TRUE(pool[i]->noteOffPending()) << "note " << pool[i]->note();
}

// Events handed over without a render to follow (no outputs, no frames)
// still act, as they did when they acted on arrival.
TEST(EventQueue, EventsActWithoutOutputsOrFrames)
{
    auto instrument = std::make_unique<Instrument>();
    const InstrumentEvent change[] = {at(0, 0xB0, 1, 10), at(30, 0xC0, 12)};
    instrument->handleEvents(change, 2);
    EXPECT_EQ(instrument->currentProgram(), 0); // later in the block: not yet
    instrument->render(nullptr, nullptr, 64);
    EXPECT_EQ(instrument->currentProgram(), 12);
    const InstrumentEvent again[] = {at(5, 0xC0, 7)};
    instrument->handleEvents(again, 1);
    std::vector<float> left(64), right(64);
    instrument->render(left.data(), right.data(), 0);
    EXPECT_EQ(instrument->currentProgram(), 7);
}
