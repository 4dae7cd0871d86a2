#include "formats/vst3/Vst3Instrument.h"

#include "formats/vst3/ParameterLayout.h"

#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <algorithm>
#include <cmath>

// The audio thread's side: the host's note events and controller parameters
// become instrument events at their frames, and every other parameter change
// is applied at its frame, the block being rendered in stretches between them.

namespace grelmond::vst3 {

using namespace Steinberg;

namespace {

int clampFrame(int32 offset, int frames)
{
    return frames <= 0 ? 0 : std::clamp(static_cast<int>(offset), 0, frames - 1);
}

uint8_t midiValue(float value)
{
    const float v = std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
    return static_cast<uint8_t>(std::lround(v * 127.0f));
}

// A system-exclusive block (tuning messages) stays in the host's event list,
// valid through this process call, where the block's events are delivered.
// Hosts differ on whether they pass the F0 and F7 framing; the reader takes both.
bool systemExclusive(const Vst::DataEvent& data, InstrumentEvent& event)
{
    if (data.type != Vst::DataEvent::kMidiSysEx || data.bytes == nullptr || data.size == 0)
        return false;
    event.status = InstrumentEvent::kSysExStatus;
    event.sysex = data.bytes;
    event.sysexSize = data.size;
    return true;
}

} // namespace

void Vst3Instrument::readEvents(Vst::IEventList* list, int frames)
{
    if (list == nullptr)
        return;
    const int32 count = list->getEventCount();
    for (int32 i = 0; i < count; ++i) {
        Vst::Event e{};
        if (list->getEvent(i, e) != kResultOk)
            continue;
        InstrumentEvent event;
        event.frame = clampFrame(e.sampleOffset, frames);
        if (e.type == Vst::Event::kNoteOnEvent) {
            event.status = static_cast<uint8_t>(0x90 | (e.noteOn.channel & 15));
            event.data1 = static_cast<uint8_t>(std::clamp<int>(e.noteOn.pitch, 0, 127));
            // A note-on stays one: MIDI would read velocity 0 as a note-off.
            event.data2 = std::max<uint8_t>(1, midiValue(e.noteOn.velocity));
        } else if (e.type == Vst::Event::kNoteOffEvent) {
            event.status = static_cast<uint8_t>(0x80 | (e.noteOff.channel & 15));
            event.data1 = static_cast<uint8_t>(std::clamp<int>(e.noteOff.pitch, 0, 127));
            event.data2 = midiValue(e.noteOff.velocity);
        } else if (e.type == Vst::Event::kDataEvent) {
            if (!systemExclusive(e.data, event))
                continue;
        } else {
            continue;
        }
        events_.add(event);
    }
}

void Vst3Instrument::readChanges(Vst::IParameterChanges* changes, int frames)
{
    if (changes == nullptr)
        return;
    const int32 queues = changes->getParameterCount();
    for (int32 q = 0; q < queues; ++q) {
        Vst::IParamValueQueue* queue = changes->getParameterData(q);
        if (queue == nullptr)
            continue;
        const Vst::ParamID id = queue->getParameterId();
        const int32 points = queue->getPointCount();
        for (int32 p = 0; p < points; ++p) {
            int32 offset = 0;
            Vst::ParamValue value = 0.0;
            if (queue->getPoint(p, offset, value) != kResultOk || !std::isfinite(value))
                continue;
            const int frame = clampFrame(offset, frames);
            InstrumentEvent event;
            if (ParameterLayout::controllerEvent(id, value, frame, event))
                events_.add(event);
            else if ((ParameterLayout::isInstrumentParameter(id) || id == ParameterLayout::kProgramId) &&
                     changeCount_ < kMaxChanges)
                changes_[static_cast<std::size_t>(changeCount_++)] = {frame, id, value};
        }
    }
    // Stable by frame, so each parameter's points keep their order.
    for (int i = 1; i < changeCount_; ++i) {
        const Change change = changes_[static_cast<std::size_t>(i)];
        int j = i;
        for (; j > 0 && changes_[static_cast<std::size_t>(j - 1)].frame > change.frame; --j)
            changes_[static_cast<std::size_t>(j)] = changes_[static_cast<std::size_t>(j - 1)];
        changes_[static_cast<std::size_t>(j)] = change;
    }
}

void Vst3Instrument::applyChange(const Change& change, Vst::IParameterChanges* output)
{
    if (change.id == ParameterLayout::kProgramId) {
        const int program = ParameterLayout::programFromValue(change.value);
        if (program == instrument_.currentProgram())
            return;
        instrument_.selectProgram(program);
        // The host's controls learn the program's values from the processor,
        // at the frame they took effect.
        if (output != nullptr)
            for (int index = 0; index < Instrument::kNumParams; ++index) {
                int32 slot = 0;
                if (Vst::IParamValueQueue* queue = output->addParameterData(static_cast<Vst::ParamID>(index), slot))
                    queue->addPoint(change.frame, instrument_.parameter(index), slot);
            }
    } else {
        instrument_.setParameter(static_cast<int>(change.id), static_cast<float>(change.value));
    }
}

void Vst3Instrument::renderStretches(float* left, float* right, int frames, Vst::IParameterChanges* output)
{
    int position = 0;
    int next = 0;
    do {
        while (next < changeCount_ && changes_[static_cast<std::size_t>(next)].frame <= position)
            applyChange(changes_[static_cast<std::size_t>(next++)], output);
        const int end = next < changeCount_ ? changes_[static_cast<std::size_t>(next)].frame : frames;
        const InstrumentEvent* first = nullptr;
        const int count = events_.take(position, end, first);
        instrument_.handleEvents(first, count);
        if (left != nullptr && right != nullptr)
            instrument_.render(left + position, right + position, end - position);
        position = end;
    } while (position < frames);
}

tresult PLUGIN_API Vst3Instrument::process(Vst::ProcessData& data)
{
    if (data.symbolicSampleSize != Vst::kSample32)
        return kResultFalse;
    const int frames = std::max(0, static_cast<int>(data.numSamples));
    const Vst::ProcessContext* context = data.processContext;
    instrument_.setTempo(context != nullptr && (context->state & Vst::ProcessContext::kTempoValid) != 0 &&
                                 std::isfinite(context->tempo) && context->tempo > 0.0
                             ? context->tempo
                             : 0.0);

    events_.clear();
    changeCount_ = 0;
    readEvents(data.inputEvents, frames);
    readChanges(data.inputParameterChanges, frames);
    events_.sortByFrame();

    float* left = nullptr;
    float* right = nullptr;
    if (data.numOutputs > 0 && data.outputs != nullptr && data.outputs[0].numChannels >= 2 &&
        data.outputs[0].channelBuffers32 != nullptr) {
        Vst::AudioBusBuffers& bus = data.outputs[0];
        left = bus.channelBuffers32[0];
        right = bus.channelBuffers32[1];
        for (int32 c = 2; c < bus.numChannels; ++c)
            if (bus.channelBuffers32[c] != nullptr)
                std::fill_n(bus.channelBuffers32[c], frames, 0.0f);
        bus.silenceFlags = 0;
    }
    renderStretches(left, right, frames, data.outputParameterChanges);
    return kResultOk;
}

} // namespace grelmond::vst3
