#include "shell/SynthPlugin.h"

#include "engine/Envelope.h"
#include "engine/FlushDenormals.h"
#include "params/InitProgram.h"
#include "platform/InstallFolder.h"
#include "shell/TextCopy.h"

#include <cstring>

namespace grelmond {

using namespace vst;

std::atomic<SynthPlugin*> SynthPlugin::lastConstructed_{nullptr};
std::atomic<float> SynthPlugin::processSampleRate_{44100.0f};

SynthPlugin::SynthPlugin(AudioMasterCallback hostCallback)
    : PluginBaseExt(hostCallback, kNumPrograms, kNumParams)
{
    // Parameters reach the engine's envelopes; delay lengths stay within the buffers.
    params_.attachEnvelope(ParameterState::kAmpEnvelope, engine_.amplitudeEnvelope());
    params_.attachEnvelope(ParameterState::kFilterEnvelope, engine_.filterEnvelope());
    params_.attachEnvelope(ParameterState::kProcEnvelope, engine_.procEnvelope());
    params_.setDelayCapacity(renderer_.delayCapacity());

    const InitProgram init;
    if (!loadDefaultBank())
        programs_.createDefaults(init);
    setProgram(0);

    setNumInputs(0);
    setNumOutputs(2);
    canProcessReplacing(true);
    programsAreChunks(true);
    hasVu(true);
    isSynth(true);
    setUniqueID(fourCC('z', 'a', 'G', 'r'));

    // The start values differ slightly from what setParameter gives (more
    // ensemble copies, no detune floor, a few values uncurved) until each
    // parameter is next set.
    const Program* first = programs_.program(0);
    params_.applyStartValues(first != nullptr ? *first : init);

    renderer_.reset();

    const FlushDenormals flush;
    const float rate = updateSampleRate();
    samplesPerStep_ = RenderLoop::chunkSize(rate);
    setProcessSampleRate(rate);
    lastConstructed_.store(this, std::memory_order_relaxed);

    engine_.loadWaveforms(platform::installFolder());
    renderer_.attach(engine_);
    renderer_.keyDepth().reset();
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

void SynthPlugin::setParameter(VstInt32 index, float value)
{
    if (!isParameterId(index))
        return;
    // Read once: a selection on another thread must not move half of the
    // values into the program it selects.
    Program* program = programs_.program(selection_.current());
    const float stored = applyValue(index, value);
    if (program != nullptr)
        program->setValue(index, stored);
}

float SynthPlugin::getParameter(VstInt32 index) { return params_.setValue(index); }

void SynthPlugin::setProgram(VstInt32 program)
{
    if (!programs_.isProgramIndex(program))
        return;
    resetKeyDepth();
    programs_.setCurrentIndex(program);
    selection_.select(program, [this](VstInt32 index, auto&& superseded) { applyProgram(index, superseded); });
}

// The values come from the program, so nothing is stored back into it.
template <class Superseded>
void SynthPlugin::applyProgram(VstInt32 program, Superseded&& superseded)
{
    const Program* selected = programs_.program(program);
    if (selected == nullptr)
        return;
    for (ParameterId index : ProgramBank::kApplyOrder) {
        if (superseded())
            return;
        applyValue(index, selected->value(index));
    }
}

void SynthPlugin::programChange(int number)
{
    const int index = programs_.programChange(number);
    if (index >= 0)
        setProgram(index);
}

// On the audio thread: one pass per selection, never a storm of other threads'.
void SynthPlugin::midiProgramChange(int number)
{
    const int index = programs_.programChange(number);
    if (index < 0)
        return;
    resetKeyDepth();
    programs_.setCurrentIndex(index);
    selection_.selectOnce(index, [this](VstInt32 program, auto&& superseded) { applyProgram(program, superseded); });
}

void SynthPlugin::setProgramName(char* name)
{
    if (Program* program = programs_.program(selection_.current()))
        program->setName(name);
}

void SynthPlugin::getProgramName(char* name) { programs_.displayName(selection_.current(), name); }

bool SynthPlugin::getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text)
{
    return programs_.storedName(index, text);
}

// Names longer than the interface's 8 characters are cut, so no host buffer
// is overrun.
void SynthPlugin::getParameterLabel(VstInt32 index, char* label)
{
    if (isParameterId(index))
        copyText(label, parameterInfo(index).label, kVstMaxParamStrLen + 1);
}

void SynthPlugin::getParameterDisplay(VstInt32 index, char* text)
{
    if (isParameterId(index))
        float2string(shownValue(index), text);
}

void SynthPlugin::getParameterName(VstInt32 index, char* text)
{
    if (isParameterId(index))
        copyText(text, parameterInfo(index).name, kVstMaxParamStrLen + 1);
}

// Audio and events.

void SynthPlugin::process(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    render(outputs, sampleFrames, RenderLoop::Mode::Accumulate);
}

void SynthPlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    render(outputs, sampleFrames, RenderLoop::Mode::Replace);
}

void SynthPlugin::render(float** outputs, VstInt32 sampleFrames, RenderLoop::Mode mode)
{
    const FlushDenormals flush;
    selection_.resume([this](VstInt32 program, auto&& superseded) { applyProgram(program, superseded); });
    const float rate = updateSampleRate();
    samplesPerStep_ = RenderLoop::chunkSize(rate);
    setProcessSampleRate(rate);
    renderer_.render(outputs, sampleFrames, rate, mode);
}

bool SynthPlugin::hostTempo(double& tempo)
{
    const VstTimeInfo* info = getTimeInfo(kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid);
    if (info == nullptr || (info->flags & kVstTempoValid) == 0)
        return false;
    tempo = info->tempo;
    return true;
}

bool SynthPlugin::processEvents(VstEvents* events)
{
    renderer_.processEvents(events);
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
    prepareForRate(sampleRate);
}

void SynthPlugin::setBlockSizeAndSampleRate(VstInt32 blockSize, float sampleRate)
{
    PluginBaseExt::setBlockSizeAndSampleRate(blockSize, sampleRate);
    prepareForRate(sampleRate);
}

void SynthPlugin::prepareForRate(float sampleRate)
{
    renderer_.setSampleRate(sampleRate);
    params_.setDelayCapacity(renderer_.delayCapacity());
    params_.setDelaySampleRate(sampleRate);
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
    if (std::strcmp(text, "receiveVstEvents") == 0 || std::strcmp(text, "receiveVstMidiEvent") == 0)
        return 1;
    return -1;
}

} // namespace grelmond
