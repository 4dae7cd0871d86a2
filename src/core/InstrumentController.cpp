#include "core/InstrumentController.h"

#include "core/Instrument.h"

namespace grelmond {

float InstrumentController::value(int index) { return instrument_.parameter(index); }
float InstrumentController::shownValue(int index) { return instrument_.shownValue(index); }
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
double InstrumentController::sampleRate() { return instrument_.sampleRate(); }

} // namespace grelmond
