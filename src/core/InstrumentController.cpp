#include "core/InstrumentController.h"

#include "core/Instrument.h"
#include "storage/RememberedFolder.h"

namespace grelmond {

float InstrumentController::value(int index) { return instrument_.parameter(index); }
float InstrumentController::shownValue(int index) { return instrument_.shownValue(index); }
float InstrumentController::defaultValue(int index) { return Instrument::defaultValue(index); }

namespace {
std::string trimmed(const char* text)
{
    const std::string s(text);
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
}
} // namespace

std::string InstrumentController::parameterText(int index)
{
    char value[64] = {};
    instrument_.parameterDisplay(index, value);
    std::string text = trimmed(Instrument::parameterName(index)) + " " + trimmed(value);
    const std::string unit = trimmed(Instrument::parameterLabel(index));
    return unit.empty() ? text : text + " " + unit;
}
int InstrumentController::currentProgram() { return instrument_.currentProgram(); }
void InstrumentController::selectProgram(int index) { instrument_.selectProgram(index); }
float InstrumentController::programPosition() { return instrument_.programPosition(); }
void InstrumentController::setProgramPosition(float position) { instrument_.setProgramPosition(position); }

std::string InstrumentController::programName(int index)
{
    char text[64] = {};
    instrument_.programName(index, text);
    return text;
}

void InstrumentController::renameCurrentProgram(const char* name) { instrument_.renameCurrentProgram(name); }
bool InstrumentController::loadBank(const char* name) { return instrument_.loadBank(name); }
bool InstrumentController::loadPatch(const char* name) { return instrument_.loadPatch(name); }
bool InstrumentController::saveBank(char* name, std::size_t size) { return instrument_.saveBank(name, size); }
bool InstrumentController::savePatch(char* name, std::size_t size) { return instrument_.savePatch(name, size); }
bool InstrumentController::isTuningName(const char* name) { return name && TuningControl::isTuningName(name); }
std::string InstrumentController::loadTuning(const char* name) { return instrument_.loadTuning(name).message; }
int InstrumentController::rememberedZoom()
{
    return RememberedFolder(instrument_.installFolder()).readZoom().value_or(0);
}

void InstrumentController::rememberZoom(int percent) { RememberedFolder(instrument_.installFolder()).writeZoom(percent); }

double InstrumentController::sampleRate() { return instrument_.sampleRate(); }

} // namespace grelmond
