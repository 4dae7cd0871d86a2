#include "formats/vst3/BlockEvents.h"
#include "formats/vst3/ParameterLayout.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"

#include <gtest/gtest.h>

#include <cmath>

using grelmond::InstrumentEvent;
using grelmond::vst3::BlockEvents;
using grelmond::vst3::ParameterLayout;

namespace {

InstrumentEvent at(int frame, uint8_t data1)
{
    InstrumentEvent e;
    e.frame = frame;
    e.status = 0x90;
    e.data1 = data1;
    e.data2 = 100;
    return e;
}

} // namespace

TEST(BlockEvents, SortsStablyAndHandsOutStretchesRelativeToTheirStart)
{
    BlockEvents events;
    for (auto [frame, id] : {std::pair{30, 1}, {10, 2}, {30, 3}, {0, 4}, {10, 5}, {63, 6}})
        events.add(at(frame, static_cast<uint8_t>(id)));
    events.sortByFrame();
    const InstrumentEvent* first = nullptr;
    ASSERT_EQ(events.take(0, 10, first), 1);
    EXPECT_EQ(first[0].data1, 4);
    ASSERT_EQ(events.take(10, 31, first), 4);
    EXPECT_EQ(first[0].data1, 2);
    EXPECT_EQ(first[1].data1, 5) << "same frame: the order they came in";
    EXPECT_EQ(first[2].data1, 1);
    EXPECT_EQ(first[3].data1, 3);
    EXPECT_EQ(first[0].frame, 0);
    EXPECT_EQ(first[2].frame, 20);
    ASSERT_EQ(events.take(31, 64, first), 1);
    EXPECT_EQ(first[0].frame, 32);
    EXPECT_EQ(events.take(64, 64, first), 0);
}

TEST(BlockEvents, DropsWhatDoesNotFit)
{
    BlockEvents events;
    for (int i = 0; i < BlockEvents::kCapacity; ++i)
        ASSERT_TRUE(events.add(at(i % 100, 1)));
    EXPECT_FALSE(events.add(at(0, 2)));
    events.clear();
    EXPECT_EQ(events.count(), 0);
}

TEST(ParameterLayout, MappedControllersBecomeTheMidiMessagesTheyStandFor)
{
    using namespace Steinberg::Vst;
    InstrumentEvent e;
    ASSERT_TRUE(ParameterLayout::controllerEvent(ParameterLayout::controllerParameter(kPitchBend), 8192.0 / 16383.0, 7, e));
    EXPECT_EQ(e.status, 0xE0);
    EXPECT_EQ(e.data1 + e.data2 * 128, 8192);
    EXPECT_EQ(e.frame, 7);
    // A centred wheel, as hosts hold it in single or double precision.
    for (double centre : {0.5, static_cast<double>(8192.0f / 16383.0f)}) {
        ParameterLayout::controllerEvent(ParameterLayout::controllerParameter(kPitchBend), centre, 0, e);
        EXPECT_EQ(e.data1 + e.data2 * 128, 8192) << centre;
    }
    for (int raw : {0, 1, 8191, 16383}) {
        ParameterLayout::controllerEvent(ParameterLayout::controllerParameter(kPitchBend), raw / 16383.0, 0, e);
        EXPECT_EQ(e.data1 + e.data2 * 128, raw);
    }
    for (int value = 0; value < 128; ++value) {
        ASSERT_TRUE(ParameterLayout::controllerEvent(ParameterLayout::controllerParameter(kCtrlSustainOnOff),
                                                     value / 127.0, 0, e));
        EXPECT_EQ(e.status, 0xB0);
        EXPECT_EQ(e.data1, 64);
        EXPECT_EQ(e.data2, value);
    }
    ParameterLayout::controllerEvent(ParameterLayout::controllerParameter(kCtrlModWheel), 7.0, 0, e);
    EXPECT_EQ(e.data2, 127) << "out-of-range values are held to the MIDI range";
    EXPECT_FALSE(ParameterLayout::controllerEvent(63, 0.5, 0, e));
    EXPECT_FALSE(ParameterLayout::controllerEvent(ParameterLayout::kProgramId, 0.5, 0, e));
    EXPECT_EQ(ParameterLayout::controllerParameter(7), kNoParamId);
}

TEST(ParameterLayout, ProgramValuesRoundTrip)
{
    for (int p = 0; p < 64; ++p)
        EXPECT_EQ(ParameterLayout::programFromValue(ParameterLayout::programValue(p)), p);
    EXPECT_EQ(ParameterLayout::programFromValue(-3.0), 0);
    EXPECT_EQ(ParameterLayout::programFromValue(std::nan("")), 0);
    EXPECT_EQ(ParameterLayout::programValue(99), 1.0);
}
