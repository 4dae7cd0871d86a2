#include "formats/vst3/ParameterLayout.h"

#include "core/Instrument.h"
#include "formats/vst3/Utf16Text.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace grelmond::vst3 {

using namespace Steinberg;
using Vst::ParameterInfo;

namespace {

constexpr Vst::ParamID kControllerBase = 2000;
constexpr int kMappedControllers[ParameterLayout::kNumMapped] = {Vst::kCtrlModWheel, Vst::kCtrlSustainOnOff, 123,
                                                                 Vst::kPitchBend};
constexpr const char* kMappedNames[ParameterLayout::kNumMapped] = {"MIDI Mod Wheel", "MIDI Sustain",
                                                                   "MIDI All Notes Off", "MIDI Pitch Bend"};
constexpr int kLastProgram = Instrument::kNumPrograms - 1;

int mappedSlot(Vst::ParamID id)
{
    for (int i = 0; i < ParameterLayout::kNumMapped; ++i)
        if (id == kControllerBase + static_cast<Vst::ParamID>(kMappedControllers[i]))
            return i;
    return -1;
}

} // namespace

int ParameterLayout::count()
{
    return Instrument::kNumParams + 1 + kNumMapped;
}

int ParameterLayout::stepCount(Vst::ParamID id)
{
    switch (id) {
    case 52: // the delays' tempo sync switches turn on at 0.5
    case 56:
        return 1;
    case 57: // the proc function: trunc(value x 25.1) picks one of 26
        return 25;
    default:
        return 0;
    }
}

bool ParameterLayout::info(int index, ParameterInfo& info)
{
    if (index < 0 || index >= count())
        return false;
    std::memset(&info, 0, sizeof info);
    info.unitId = Vst::kRootUnitId;
    if (index < Instrument::kNumParams) {
        info.id = static_cast<Vst::ParamID>(index);
        // The host shows the name and label without the padding they carry for VST 2.
        auto trimmed = [](const char* text) {
            std::string s = text != nullptr ? text : "";
            const auto first = s.find_first_not_of(' ');
            const auto last = s.find_last_not_of(' ');
            return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
        };
        const std::string name = trimmed(Instrument::parameterName(index));
        const std::string label = trimmed(Instrument::parameterLabel(index));
        copyToString128(name.c_str(), info.title);
        copyToString128(name.c_str(), info.shortTitle);
        copyToString128(label.c_str(), info.units);
        info.stepCount = stepCount(info.id);
        info.defaultNormalizedValue = Instrument::defaultValue(index);
        if (info.stepCount > 0)
            info.defaultNormalizedValue =
                std::round(info.defaultNormalizedValue * info.stepCount) / info.stepCount;
        info.flags = ParameterInfo::kCanAutomate;
        return true;
    }
    if (index == Instrument::kNumParams) {
        info.id = kProgramId;
        copyToString128("Program", info.title);
        copyToString128("Program", info.shortTitle);
        info.stepCount = kLastProgram;
        info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsProgramChange;
        return true;
    }
    const int slot = index - Instrument::kNumParams - 1;
    info.id = kControllerBase + static_cast<Vst::ParamID>(kMappedControllers[slot]);
    copyToString128(kMappedNames[slot], info.title);
    copyToString128(kMappedNames[slot], info.shortTitle);
    info.stepCount = kMappedControllers[slot] == Vst::kPitchBend ? 16383 : 127;
    info.defaultNormalizedValue = kMappedControllers[slot] == Vst::kPitchBend ? 8192.0 / 16383.0 : 0.0;
    info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsHidden;
    return true;
}

Vst::ParamID ParameterLayout::controllerParameter(int controller)
{
    for (int c : kMappedControllers)
        if (c == controller)
            return kControllerBase + static_cast<Vst::ParamID>(controller);
    return Vst::kNoParamId;
}

bool ParameterLayout::controllerEvent(Vst::ParamID id, double value, int frame, InstrumentEvent& event)
{
    const int slot = mappedSlot(id);
    if (slot < 0)
        return false;
    const double v = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
    event = InstrumentEvent{};
    event.frame = frame;
    if (kMappedControllers[slot] == Vst::kPitchBend) {
        const int bend = static_cast<int>(std::lround(v * 16383.0));
        event.status = 0xE0;
        event.data1 = static_cast<uint8_t>(bend & 127);
        event.data2 = static_cast<uint8_t>(bend >> 7);
    } else {
        event.status = 0xB0;
        event.data1 = static_cast<uint8_t>(kMappedControllers[slot]);
        event.data2 = static_cast<uint8_t>(std::lround(v * 127.0));
    }
    return true;
}

double ParameterLayout::programValue(int program)
{
    return static_cast<double>(std::clamp(program, 0, kLastProgram)) / kLastProgram;
}

int ParameterLayout::programFromValue(double value)
{
    const double v = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
    return static_cast<int>(std::lround(v * kLastProgram));
}

} // namespace grelmond::vst3
