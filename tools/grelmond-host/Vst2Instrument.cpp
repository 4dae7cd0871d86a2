#include "Vst2Instrument.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace host {

using namespace vst;

bool Vst2Instrument::load(const std::string& path, float sampleRate, int blockSize, std::string& error)
{
    if (!plugin_.load(path, sampleRate, blockSize)) {
        error = plugin_.error();
        return false;
    }
    return true;
}

int Vst2Instrument::programCount() const { return plugin_.effect()->numPrograms; }
int Vst2Instrument::parameterCount() const { return plugin_.effect()->numParams; }
int Vst2Instrument::program() const { return static_cast<int>(plugin_.dispatch(effGetProgram)); }
void Vst2Instrument::selectProgram(int program) { plugin_.dispatch(effSetProgram, 0, program); }

std::string Vst2Instrument::parameterName(int index) const
{
    return plugin_.text(effGetParamName, index, kVstMaxParamStrLen);
}

std::string Vst2Instrument::parameterDisplay(int index) const
{
    return plugin_.text(effGetParamDisplay, index, kVstMaxParamStrLen);
}

std::string Vst2Instrument::parameterLabel(int index) const
{
    return plugin_.text(effGetParamLabel, index, kVstMaxParamStrLen);
}

float Vst2Instrument::parameter(int index) const
{
    AEffect* e = plugin_.effect();
    return e->getParameter(e, index);
}

void Vst2Instrument::setParameter(int index, float value)
{
    AEffect* e = plugin_.effect();
    e->setParameter(e, index, value);
}

bool Vst2Instrument::saveState(std::vector<char>& bytes)
{
    void* data = nullptr;
    const VstIntPtr size = plugin_.dispatch(effGetChunk, 0, 0, &data);
    if (size <= 0 || data == nullptr)
        return false;
    const char* begin = static_cast<const char*>(data);
    bytes.assign(begin, begin + size);
    return true;
}

bool Vst2Instrument::loadState(const std::vector<char>& bytes)
{
    std::vector<char> copy = bytes; // the plug-in's pointer is not const
    return plugin_.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(copy.size()), copy.data()) != 0;
}

void Vst2Instrument::updateTimeInfo(const BlockTransport& transport)
{
    if (transport.tempo <= 0.0) {
        plugin_.setTimeInfo(nullptr);
        return;
    }
    const double rate = plugin_.sampleRate();
    const double quarters = static_cast<double>(transport.position) / rate * transport.tempo / 60.0;
    timeInfo_.sampleRate = rate;
    timeInfo_.tempo = transport.tempo;
    timeInfo_.timeSigNumerator = 4;
    timeInfo_.timeSigDenominator = 4;
    timeInfo_.samplePos = static_cast<double>(transport.position);
    timeInfo_.ppqPos = quarters;
    timeInfo_.barStartPos = std::floor(quarters / 4.0) * 4.0;
    timeInfo_.nanoSeconds = static_cast<double>(transport.position) / rate * 1e9;
    timeInfo_.flags = kVstTransportPlaying | kVstNanosValid | kVstPpqPosValid | kVstTempoValid | kVstBarsValid |
                      kVstTimeSigValid;
    plugin_.setTimeInfo(&timeInfo_);
}

void Vst2Instrument::sendEvents(const std::vector<BlockMidi>& midi)
{
    if (midi.empty())
        return;
    events_.clear();
    for (const BlockMidi& message : midi) {
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = message.frame;
        for (int b = 0; b < 3; ++b)
            event.midiData[b] = static_cast<char>(message.bytes[b]);
        events_.push_back(event);
    }
    eventsStorage_.assign(offsetof(VstEvents, events) + events_.size() * sizeof(VstEvent*), 0);
    auto* events = reinterpret_cast<VstEvents*>(eventsStorage_.data());
    events->numEvents = static_cast<VstInt32>(events_.size());
    for (size_t i = 0; i < events_.size(); ++i)
        events->events[i] = reinterpret_cast<VstEvent*>(&events_[i]);
    plugin_.dispatch(effProcessEvents, 0, 0, events);
}

void Vst2Instrument::process(const std::vector<BlockMidi>& midi, const std::vector<BlockParameter>& params,
                             const BlockTransport& transport, float* left, float* right, int frames,
                             bool accumulate)
{
    AEffect* e = plugin_.effect();
    // VST 2 has no sample-accurate automation: a block's changes come before it.
    for (const BlockParameter& change : params)
        e->setParameter(e, change.index, change.value);
    updateTimeInfo(transport);
    sendEvents(midi);
    float* outputs[2] = {left, right};
    float* inputs[2] = {nullptr, nullptr};
    if (accumulate)
        e->process(e, inputs, outputs, frames);
    else
        e->processReplacing(e, inputs, outputs, frames);
}

bool Vst2Instrument::editorSize(int& width, int& height)
{
    ERect* rect = nullptr;
    if ((plugin_.effect()->flags & effFlagsHasEditor) == 0 || plugin_.dispatch(effEditGetRect, 0, 0, &rect) == 0 ||
        rect == nullptr)
        return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return width > 0 && height > 0;
}

bool Vst2Instrument::openEditor(void* parent)
{
    return plugin_.dispatch(effEditOpen, 0, 0, parent) != 0;
}

} // namespace host
