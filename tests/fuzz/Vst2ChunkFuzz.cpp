// libFuzzer target: a host's saved state, given back through the binary
// interface. The first byte says whether the rest is a bank chunk or a program
// chunk; effSetChunk takes it, a block renders with notes playing, and the
// state is read back. No crash, no non-finite sample; a refused chunk changes
// nothing, and an accepted one reads back as a chunk that loads again to
// itself.
// One instance serves every input, so states build on each other as they do
// in a session that loads one project after another.
#include "formats/vst2/PluginEntry.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vst;

namespace {

constexpr int kFrames = 64;

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

AEffect* instance()
{
    static AEffect* effect = [] {
        AEffect* e = grelmond::createPluginInstance(quietHost);
        if (e == nullptr)
            std::abort();
        e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
        e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        e->dispatcher(e, effSetBlockSize, 0, kFrames, nullptr, 0.0f);
        e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
        return e;
    }();
    return effect;
}

std::string chunkOf(AEffect* e, int index)
{
    void* data = nullptr;
    const VstIntPtr size = e->dispatcher(e, effGetChunk, index, 0, &data, 0.0f);
    if (size < 0 || (size > 0 && data == nullptr))
        std::abort();
    return size > 0 ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size)) : std::string();
}

VstIntPtr setChunk(AEffect* e, int index, const void* data, std::size_t size)
{
    return e->dispatcher(e, effSetChunk, index, static_cast<VstIntPtr>(size), const_cast<void*>(data), 0.0f);
}

void sendMidi(AEffect* e, std::initializer_list<std::array<unsigned char, 3>> messages)
{
    std::vector<VstMidiEvent> midi;
    for (const auto& m : messages) {
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof event;
        event.deltaFrames = static_cast<VstInt32>(midi.size() * 7 % kFrames);
        for (int i = 0; i < 3; ++i)
            event.midiData[i] = static_cast<char>(m[static_cast<std::size_t>(i)]);
        midi.push_back(event);
    }
    std::vector<unsigned char> storage(offsetof(VstEvents, events) + (midi.size() + 1) * sizeof(VstEvent*));
    auto* events = reinterpret_cast<VstEvents*>(storage.data());
    events->numEvents = static_cast<VstInt32>(midi.size());
    // The record declares two pointers; a host's list runs on past them.
    auto* slots = reinterpret_cast<VstEvent**>(storage.data() + offsetof(VstEvents, events));
    for (std::size_t i = 0; i < midi.size(); ++i)
        slots[i] = reinterpret_cast<VstEvent*>(&midi[i]);
    e->dispatcher(e, effProcessEvents, 0, 0, events, 0.0f);
}

void renderChecked(AEffect* e)
{
    std::array<float, kFrames> left{}, right{};
    float* outputs[2] = {left.data(), right.data()};
    sendMidi(e, {{0x90, 48, 127}, {0x90, 67, 90}, {0xB0, 1, 100}});
    e->processReplacing(e, nullptr, outputs, kFrames);
    sendMidi(e, {{0xB0, 123, 0}});
    for (int i = 0; i < kFrames; ++i)
        if (!std::isfinite(left[static_cast<std::size_t>(i)]) || !std::isfinite(right[static_cast<std::size_t>(i)]))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size == 0)
        return 0;
    AEffect* e = instance();
    const int index = data[0] & 1; // 0 the bank, 1 the current program
    const std::string before = chunkOf(e, 0);
    if (setChunk(e, index, data + 1, size - 1) == 0) {
        if (chunkOf(e, 0) != before)
            std::abort();
    } else {
        // Saved chunks are exact, the unused slots numbered in order, so one
        // loads back to itself at once.
        const std::string saved = chunkOf(e, index);
        if (setChunk(e, index, saved.data(), saved.size()) != 1 || chunkOf(e, index) != saved)
            std::abort();
    }
    renderChecked(e);
    return 0;
}
