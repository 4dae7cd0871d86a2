// VstEvents as the VST 2 adapter hands them to the instrument.
#include "engine/Voice.h"
#include "formats/vst2/SynthPlugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace grelmond;

namespace {

vst::VstIntPtr quietHost(vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32, vst::VstIntPtr, void*, float)
{
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

vst::VstMidiEvent midiEvent(int delta, int status, int data1, int data2)
{
    vst::VstMidiEvent event{};
    event.type = vst::kVstMidiType;
    event.byteSize = sizeof event;
    event.deltaFrames = delta;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
}

// A VstEvents record with room for every pointer, as hosts allocate it.
struct EventList {
    std::vector<char> storage;
    explicit EventList(const std::vector<vst::VstEvent*>& events)
        : storage(sizeof(vst::VstEvents) + events.size() * sizeof(vst::VstEvent*))
    {
        auto* list = get();
        list->numEvents = static_cast<vst::VstInt32>(events.size());
        for (std::size_t i = 0; i < events.size(); ++i)
            list->events[i] = events[i];
    }
    vst::VstEvents* get() { return reinterpret_cast<vst::VstEvents*>(storage.data()); }
};

} // namespace

TEST(Vst2EventList, SkipsForeignAndMissingEventsMasksDataBytesAndClampsDeltas)
{
    auto plugin = std::make_unique<SynthPlugin>(quietHost);
    vst::VstMidiSysexEvent sysex{}; // empty: no tuning message in it
    sysex.type = vst::kVstSysExType;
    vst::VstMidiEvent note = midiEvent(17, 0x93, 0x80 | 60, 100); // stray high bit
    vst::VstMidiEvent early = midiEvent(-4, 0x90, 64, 90);
    EventList list({reinterpret_cast<vst::VstEvent*>(&sysex), nullptr, reinterpret_cast<vst::VstEvent*>(&note), reinterpret_cast<vst::VstEvent*>(&early)});
    EXPECT_TRUE(plugin->processEvents(list.get()));
    EXPECT_TRUE(plugin->processEvents(nullptr));
    // A block without outputs plays the held events at once, at their frames.
    plugin->processReplacing(nullptr, nullptr, 64);

    VoicePool& pool = plugin->renderer().midi().pool();
    ASSERT_EQ(pool.size(), 2);
    EXPECT_EQ(pool[0]->note(), 60);
    EXPECT_EQ(pool[0]->startDelay(), 17);
    EXPECT_EQ(pool[1]->note(), 64);
    EXPECT_EQ(pool[1]->startDelay(), 0);
}

// More events than one batch of the adapter all arrive, in order.
TEST(Vst2EventList, LongListsArriveWhole)
{
    auto plugin = std::make_unique<SynthPlugin>(quietHost);
    std::vector<vst::VstMidiEvent> notes;
    for (int i = 0; i < 150; ++i)
        notes.push_back(i % 2 == 0 ? midiEvent(i, 0x90, 40 + i / 2 % 40, 100) : midiEvent(i, 0x80, 40 + i / 2 % 40, 0));
    notes.push_back(midiEvent(150, 0x90, 100, 100));
    std::vector<vst::VstEvent*> pointers;
    for (auto& n : notes)
        pointers.push_back(reinterpret_cast<vst::VstEvent*>(&n));
    EventList list(pointers);
    EXPECT_TRUE(plugin->processEvents(list.get()));
    plugin->processReplacing(nullptr, nullptr, 256);
    const VoicePool& pool = plugin->renderer().midi().pool();
    ASSERT_GT(pool.size(), 0);
    EXPECT_EQ(pool[pool.size() - 1]->note(), 100);
    EXPECT_EQ(pool[pool.size() - 1]->startDelay(), 150);
}
