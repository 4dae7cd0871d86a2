#include "ProgramPlayer.h"

#include "formats/vst2/PluginEntry.h"

namespace bankmeter {

using namespace vst;

namespace {

VstTimeInfo& hostTime()
{
    static VstTimeInfo time = [] {
        VstTimeInfo t{};
        t.sampleRate = ProgramPlayer::kSampleRate;
        t.tempo = 120.0;
        t.timeSigNumerator = t.timeSigDenominator = 4;
        t.flags = kVstTransportPlaying | kVstTempoValid;
        return t;
    }();
    return time;
}

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterWantMidi:
        return 1;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&hostTime());
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(ProgramPlayer::kSampleRate);
    case audioMasterGetBlockSize:
        return ProgramPlayer::kBlock;
    default:
        return 0;
    }
}

} // namespace

ProgramPlayer::ProgramPlayer(int program)
{
    effect_ = grelmond::createPluginInstance(hostCallback);
    if (effect_ == nullptr)
        return;
    effect_->dispatcher(effect_, effOpen, 0, 0, nullptr, 0.0f);
    effect_->dispatcher(effect_, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    effect_->dispatcher(effect_, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    effect_->dispatcher(effect_, effSetProgram, 0, program, nullptr, 0.0f);
    effect_->dispatcher(effect_, effMainsChanged, 0, 1, nullptr, 0.0f);
}

ProgramPlayer::~ProgramPlayer()
{
    if (effect_ == nullptr)
        return;
    effect_->dispatcher(effect_, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
}

std::string ProgramPlayer::programName() const
{
    char name[kVstMaxProgNameLen + 1] = {};
    effect_->dispatcher(effect_, effGetProgramName, 0, 0, name, 0.0f);
    return name;
}

float ProgramPlayer::parameter(int index) const { return effect_->getParameter(effect_, index); }

void ProgramPlayer::set(const std::vector<ParameterChange>& changes)
{
    for (const auto& [index, value] : changes)
        effect_->setParameter(effect_, index, value);
}

void ProgramPlayer::notes(const std::vector<int>& keys, int velocity)
{
    std::vector<VstMidiEvent> midi(keys.size());
    std::vector<char> storage(sizeof(VstEvents) + keys.size() * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<VstInt32>(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        midi[i] = VstMidiEvent{};
        midi[i].type = kVstMidiType;
        midi[i].byteSize = sizeof(VstMidiEvent);
        midi[i].midiData[0] = static_cast<char>(velocity > 0 ? 0x90 : 0x80);
        midi[i].midiData[1] = static_cast<char>(keys[i]);
        midi[i].midiData[2] = static_cast<char>(velocity);
        list->events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
    }
    effect_->dispatcher(effect_, effProcessEvents, 0, 0, list, 0.0f);
}

void ProgramPlayer::renderUntil(double seconds)
{
    float l[kBlock], r[kBlock];
    float* outputs[2] = {l, r};
    while (static_cast<double>(stereo.size() / 2) < seconds * kSampleRate) {
        hostTime().samplePos = static_cast<double>(stereo.size() / 2);
        effect_->processReplacing(effect_, nullptr, outputs, kBlock);
        for (int i = 0; i < kBlock; ++i) {
            stereo.push_back(l[i]);
            stereo.push_back(r[i]);
        }
    }
}

std::vector<float> ProgramPlayer::mono() const
{
    std::vector<float> m(stereo.size() / 2);
    for (size_t i = 0; i < m.size(); ++i)
        m[i] = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
    return m;
}

} // namespace bankmeter
