#include "core/Instrument.h"

#include "core/ChangeReceiver.h"
#include "core/NumberText.h"
#include "engine/Envelope.h"
#include "engine/FlushDenormals.h"
#include "params/InitProgram.h"

namespace grelmond {

Instrument::Instrument()
{
    // Parameters reach the engine's envelopes; delay lengths stay within the buffers.
    params_.attachEnvelope(ParameterState::kAmpEnvelope, engine_.amplitudeEnvelope());
    params_.attachEnvelope(ParameterState::kFilterEnvelope, engine_.filterEnvelope());
    params_.attachEnvelope(ParameterState::kProcEnvelope, engine_.procEnvelope());
    params_.setDelayCapacity(renderer_.delayCapacity());

    const InitProgram init;
    if (!loadDefaultBank())
        programs_.createDefaults(init);
    selectProgram(0);

    // The start values differ slightly from what setParameter gives (more
    // ensemble copies, no detune floor, a few values uncurved) until each
    // parameter is next set.
    const Program* first = programs_.program(0);
    params_.applyStartValues(first != nullptr ? *first : init);

    renderer_.reset();

    const FlushDenormals flush;
    engine_.loadWaveforms(platform::installFolder());
    renderer_.attach(engine_);
    renderer_.keyDepth().reset();
}

Instrument::~Instrument() = default;

void Instrument::prepare(double sampleRate, int maxFrames)
{
    sampleRate_.store(static_cast<float>(sampleRate), std::memory_order_relaxed);
    maxFrames_ = maxFrames;
    renderer_.setSampleRate(sampleRate);
    params_.setDelayCapacity(renderer_.delayCapacity());
    params_.setDelaySampleRate(static_cast<float>(sampleRate));
}

void Instrument::reset() { renderer_.reset(); }

int Instrument::samplesPerStep() const { return RenderLoop::chunkSize(static_cast<float>(sampleRate())); }

// Parameters.

const char* Instrument::parameterName(int index) { return isParameterId(index) ? parameterInfo(index).name : ""; }

const char* Instrument::parameterLabel(int index) { return isParameterId(index) ? parameterInfo(index).label : ""; }

float Instrument::defaultValue(int index)
{
    static const InitProgram init; // read-only after its first construction
    return isParameterId(index) ? init.value(index) : 0.0f;
}

void Instrument::parameterDisplay(int index, char* text) const
{
    if (isParameterId(index))
        float2string(shownValue(index), text);
}

float Instrument::shownValue(int index) const { return isParameterId(index) ? params_.mirror().get(index) : 0.0f; }

void Instrument::setParameter(int index, float value)
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

float Instrument::applyValue(int index, float value)
{
    const float stored = params_.apply(index, value);
    if (ChangeReceiver* receiver = receiver_.load(std::memory_order_acquire))
        receiver->parameterChanged(index, value);
    return stored;
}

// Programs.

void Instrument::selectProgram(int index)
{
    if (!programs_.isProgramIndex(index))
        return;
    // A program change gives the control keyboard its full depth back.
    renderer_.keyDepth().resetForProgram();
    programs_.setCurrentIndex(index);
    if (ChangeReceiver* receiver = receiver_.load(std::memory_order_acquire))
        receiver->programSelected(index);
    selection_.select(index, [this](int selected, auto&& superseded) { applyProgram(selected, superseded); });
}

// The values come from the program, so nothing is stored back into it.
template <class Superseded>
void Instrument::applyProgram(int program, Superseded&& superseded)
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

void Instrument::programChange(int number)
{
    const int index = programs_.programChange(number);
    if (index >= 0)
        selectProgram(index);
}

// On the audio thread: one pass per selection, never a storm of other threads'.
void Instrument::midiProgramChange(int number)
{
    const int index = programs_.programChange(number);
    if (index < 0)
        return;
    renderer_.keyDepth().resetForProgram();
    programs_.setCurrentIndex(index);
    if (ChangeReceiver* receiver = receiver_.load(std::memory_order_acquire))
        receiver->programSelected(index);
    selection_.selectOnce(index, [this](int selected, auto&& superseded) { applyProgram(selected, superseded); });
}

void Instrument::renameCurrentProgram(const char* name)
{
    if (Program* program = programs_.program(selection_.current()))
        program->setName(name);
}

// Audio.

void Instrument::handleEvents(const InstrumentEvent* events, int count)
{
    renderer_.handleEvents(events, count);
}

void Instrument::render(float* left, float* right, int frames, bool accumulate)
{
    const FlushDenormals flush;
    selection_.resume([this](int selected, auto&& superseded) { applyProgram(selected, superseded); });
    float* outputs[2] = {left, right};
    renderer_.render(outputs, frames, sampleRate(), accumulate ? RenderLoop::Mode::Accumulate : RenderLoop::Mode::Replace);
}

bool Instrument::hostTempo(double& tempo)
{
    if (tempoSource_ != nullptr)
        return tempoSource_->tempo(tempo);
    if (!(tempo_ > 0.0))
        return false;
    tempo = tempo_;
    return true;
}

} // namespace grelmond
