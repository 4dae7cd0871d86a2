#include "PluginPlayer.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace testsupport {

using namespace vst;

PluginPlayer::PluginPlayer(PluginLoader& loader, float sampleRate, int blockSize)
    : rate_(sampleRate), block_(std::max(blockSize, 1))
{
    instance_ = loader.create(&host_);
    if (instance_ == nullptr)
        return;
    instance_->dispatch(effOpen);
    instance_->dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    instance_->dispatch(effSetBlockSize, 0, block_);
    instance_->dispatch(effMainsChanged, 0, 1);
}

void PluginPlayer::program(int index) { instance_->dispatch(effSetProgram, 0, index); }

void PluginPlayer::sinePatch()
{
    const std::pair<int, float> values[] = {{8, 0}, {9, 0.5f}, {10, 0.5f}, {11, 1}, {12, 0}, {13, 0},
        {22, 0}, {28, 0}, {31, 0}, {39, 1}, {50, 0}, {54, 0}, {57, 0}, {58, 0}, {59, 0}, {60, 0.5f},
        {61, 1}, {62, 0.05f}, {63, 0.5f}};
    for (int i = 0; i < 8; ++i)
        set(i, 0.0f);
    for (auto [index, value] : values)
        set(index, value);
}

void PluginPlayer::events(const std::vector<MidiMessage>& list)
{
    std::vector<VstMidiEvent> midi(list.size());
    std::vector<unsigned char> storage(offsetof(VstEvents, events) + (list.size() + 1) * sizeof(VstEvent*));
    auto* events = reinterpret_cast<VstEvents*>(storage.data());
    events->numEvents = static_cast<VstInt32>(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        midi[i] = VstMidiEvent{};
        midi[i].type = kVstMidiType;
        midi[i].byteSize = sizeof(VstMidiEvent);
        midi[i].deltaFrames = list[i].delta;
        midi[i].midiData[0] = static_cast<char>(list[i].status);
        midi[i].midiData[1] = static_cast<char>(list[i].data1);
        midi[i].midiData[2] = static_cast<char>(list[i].data2);
        events->events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
    }
    instance_->dispatch(effProcessEvents, 0, 0, events);
}

void PluginPlayer::sysex(int delta, std::vector<unsigned char> bytes)
{
    VstMidiSysexEvent event{};
    event.type = kVstSysExType;
    event.byteSize = sizeof event;
    event.deltaFrames = delta;
    event.dumpBytes = static_cast<VstInt32>(bytes.size());
    event.sysexDump = reinterpret_cast<char*>(bytes.data());
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[2];
    } list{1, 0, {reinterpret_cast<VstEvent*>(&event), nullptr}};
    instance_->dispatch(effProcessEvents, 0, 0, &list);
}

void PluginPlayer::render(int frames) { render(frames, block_); }

void PluginPlayer::render(int frames, int block, bool accumulate)
{
    block = std::max(block, 1);
    std::vector<float> l(static_cast<std::size_t>(block)), r(l.size());
    float* outputs[2] = {l.data(), r.data()};
    AEffect* e = instance_->effect();
    for (int done = 0; done < frames; done += block) {
        const int n = std::min(block, frames - done);
        std::fill(l.begin(), l.end(), 0.0f);
        std::fill(r.begin(), r.end(), 0.0f);
        if (accumulate)
            e->process(e, nullptr, outputs, n);
        else
            e->processReplacing(e, nullptr, outputs, n);
        left.insert(left.end(), l.begin(), l.begin() + n);
        right.insert(right.end(), r.begin(), r.begin() + n);
    }
}

std::string measuredPluginPath()
{
    const char* other = std::getenv("GRELMOND_TEST_PLUGIN");
    return other != nullptr && *other != '\0' ? std::string(other) : std::string();
}

} // namespace testsupport
