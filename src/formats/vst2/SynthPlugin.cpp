#include "formats/vst2/SynthPlugin.h"

#include "formats/vst2/TextCopy.h"

#include <cstring>

namespace grelmond {

using namespace vst;

std::atomic<SynthPlugin*> SynthPlugin::lastConstructed_{nullptr};
std::atomic<float> SynthPlugin::processSampleRate_{44100.0f};

namespace {
// VstEvents reach the instrument in batches of this many, from the stack.
constexpr int kEventBatch = 64;
} // namespace

SynthPlugin::SynthPlugin(AudioMasterCallback hostCallback) : PluginBaseExt(hostCallback, kNumPrograms, kNumParams)
{
    setNumInputs(0);
    setNumOutputs(2);
    canProcessReplacing(true);
    programsAreChunks(true);
    hasVu(true);
    isSynth(true);
    setUniqueID(fourCC('z', 'a', 'G', 'r'));

    setProcessSampleRate(updateSampleRate());
    lastConstructed_.store(this, std::memory_order_relaxed);
    instrument_.setTempoSource(this);
}

SynthPlugin::~SynthPlugin()
{
    // Leave no dangling process-wide pointer behind.
    SynthPlugin* self = this;
    lastConstructed_.compare_exchange_strong(self, nullptr, std::memory_order_relaxed);
}

SynthPlugin* SynthPlugin::lastConstructed() { return lastConstructed_.load(std::memory_order_relaxed); }
float SynthPlugin::processSampleRate() { return processSampleRate_.load(std::memory_order_relaxed); }
void SynthPlugin::setProcessSampleRate(float sampleRate)
{
    processSampleRate_.store(sampleRate, std::memory_order_relaxed);
}

// Parameters and programs.

void SynthPlugin::setParameter(VstInt32 index, float value) { instrument_.setParameter(index, value); }

float SynthPlugin::getParameter(VstInt32 index) { return instrument_.parameter(index); }

void SynthPlugin::setProgram(VstInt32 program) { instrument_.selectProgram(program); }

void SynthPlugin::setProgramName(char* name) { instrument_.renameCurrentProgram(name); }

void SynthPlugin::getProgramName(char* name) { instrument_.currentProgramDisplayName(name); }

bool SynthPlugin::getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text)
{
    return instrument_.programName(index, text);
}

// Names longer than the interface's 8 characters are cut, so no host buffer
// is overrun.
void SynthPlugin::getParameterLabel(VstInt32 index, char* label)
{
    if (isParameterId(index))
        copyText(label, Instrument::parameterLabel(index), kVstMaxParamStrLen + 1);
}

void SynthPlugin::getParameterDisplay(VstInt32 index, char* text) { instrument_.parameterDisplay(index, text); }

void SynthPlugin::getParameterName(VstInt32 index, char* text)
{
    if (isParameterId(index))
        copyText(text, Instrument::parameterName(index), kVstMaxParamStrLen + 1);
}

// Audio and events.

void SynthPlugin::process(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    render(outputs, sampleFrames, true);
}

void SynthPlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    render(outputs, sampleFrames, false);
}

void SynthPlugin::render(float** outputs, VstInt32 sampleFrames, bool accumulate)
{
    // The host may answer by setting a new rate (effSetSampleRate), which
    // prepares the instrument before this block.
    setProcessSampleRate(updateSampleRate());
    // Without outputs the instrument still takes the block's events.
    instrument_.render(outputs != nullptr ? outputs[0] : nullptr, outputs != nullptr ? outputs[1] : nullptr,
                       sampleFrames, accumulate);
}

bool SynthPlugin::tempo(double& bpm)
{
    const VstTimeInfo* info = getTimeInfo(kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid);
    if (info == nullptr || (info->flags & kVstTempoValid) == 0)
        return false;
    bpm = info->tempo;
    return true;
}

// MIDI and system-exclusive events are read; every other type is skipped.
// A system-exclusive event's bytes stay the host's, valid for this call.
bool SynthPlugin::processEvents(VstEvents* events)
{
    if (events == nullptr || events->numEvents <= 0)
        return true;
    InstrumentEvent batch[kEventBatch];
    int count = 0;
    // The record declares two pointers but holds numEvents: read them
    // through a pointer, never by indexing the declared array.
    VstEvent* const* list = events->events;
    for (int i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = list[i];
        if (event == nullptr || (event->type != kVstMidiType && event->type != kVstSysExType))
            continue;
        InstrumentEvent& converted = batch[count++];
        if (event->type == kVstSysExType) {
            const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
            converted = InstrumentEvent{};
            converted.frame = sysex->deltaFrames < 0 ? 0 : sysex->deltaFrames;
            converted.status = InstrumentEvent::kSysExStatus;
            converted.sysex = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
            converted.sysexSize = sysex->dumpBytes > 0 ? static_cast<uint32_t>(sysex->dumpBytes) : 0;
        } else {
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            converted = InstrumentEvent{};
            converted.frame = midi->deltaFrames < 0 ? 0 : midi->deltaFrames;
            converted.status = static_cast<unsigned char>(midi->midiData[0]);
            converted.data1 = static_cast<unsigned char>(midi->midiData[1]) & 127;
            converted.data2 = static_cast<unsigned char>(midi->midiData[2]) & 127;
        }
        if (count == kEventBatch) {
            instrument_.handleEvents(batch, count);
            count = 0;
        }
    }
    instrument_.handleEvents(batch, count);
    return true;
}

float SynthPlugin::getVu()
{
    const float level = vuLevel_;
    vuLevel_ = 0.0f;
    return level;
}

void SynthPlugin::suspend() {}

void SynthPlugin::setSampleRate(float sampleRate)
{
    PluginBaseExt::setSampleRate(sampleRate);
    instrument_.prepare(sampleRate, getBlockSize());
}

void SynthPlugin::setBlockSizeAndSampleRate(VstInt32 blockSize, float sampleRate)
{
    PluginBaseExt::setBlockSizeAndSampleRate(blockSize, sampleRate);
    instrument_.prepare(sampleRate, blockSize);
}

void SynthPlugin::resume()
{
    wantEvents(1);
}

// Identity and capabilities.

bool SynthPlugin::getOutputProperties(VstInt32 index, VstPinProperties* properties)
{
    if (properties == nullptr || index < 0 || index > 1)
        return false;
    copyText(properties->label, index == 0 ? "Grelmond L" : "Grelmond R", sizeof properties->label);
    copyText(properties->shortLabel, index == 0 ? "GRL L" : "GRL R", sizeof properties->shortLabel);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool SynthPlugin::getEffectName(char* name)
{
    copyText(name, "Grelmond", kVstMaxEffectNameLen);
    return true;
}

bool SynthPlugin::getVendorString(char* text)
{
    copyText(text, "Zavr", kVstMaxVendorStrLen);
    return true;
}

bool SynthPlugin::getProductString(char* text)
{
    copyText(text, "Zavr Grelmond 1.0", kVstMaxProductStrLen);
    return true;
}

VstInt32 SynthPlugin::getVendorVersion() { return kVendorVersion; }

VstInt32 SynthPlugin::canDo(char* text)
{
    if (text == nullptr)
        return -1;
    // System-exclusive events carry tuning messages; hosts that ask before
    // sending them must hear yes.
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstSysexEvent"})
        if (std::strcmp(text, yes) == 0)
            return 1;
    return -1;
}

} // namespace grelmond
