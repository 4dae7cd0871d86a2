#include "engine/EngineHolder.h"
#include "params/TuningTable.h"
#include "render/KeyDepth.h"
#include "render/MidiInput.h"

#include <gtest/gtest.h>

using namespace grelmond;

namespace {
struct NoPrograms : MidiInput::Owner {
    void midiProgramChange(int) override {}
};
} // namespace

// Unmapped keys start no voice but control keys keep controlling; tuning
// messages reach the table the voices read.
TEST(MidiTuning, UnmappedKeysAreSilentAndTuningMessagesRetune)
{
    EngineHolder engine;
    KeyDepth depth;
    NoPrograms programs;
    TuningTable table;
    MidiInput midi;
    midi.attach(engine.store(), &depth, &programs, &table);
    table.unmap(61);
    table.unmap(30);

    midi.handleMessage(0x90, 61, 100, 0);
    EXPECT_EQ(midi.pool().size(), 0);
    midi.handleMessage(0x90, 62, 100, 0);
    EXPECT_EQ(midi.pool().size(), 1);
    midi.handleMessage(0x90, 30, 100, 0); // below the split: sets the key depth
    EXPECT_EQ(midi.pool().size(), 1);
    EXPECT_FLOAT_EQ(depth.target(), 6.0f / 11.0f);

    const unsigned char change[] = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 61, 61, 0x20, 0x00, 0xF7};
    midi.handleSysEx(change, sizeof change);
    EXPECT_TRUE(table.mapped(61));
    EXPECT_NEAR(table.deviation(61), 0.25, 1e-6);
    midi.handleMessage(0x90, 61, 100, 0);
    EXPECT_EQ(midi.pool().size(), 2);
    midi.handleSysEx(change, 5); // cut short: nothing changes
    midi.handleSysEx(nullptr, 12);
    EXPECT_NEAR(table.deviation(61), 0.25, 1e-6);
}
