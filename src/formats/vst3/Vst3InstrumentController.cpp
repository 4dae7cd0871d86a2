#include "formats/vst3/Vst3Instrument.h"

#include "core/NumberText.h"
#include "formats/vst3/ParameterLayout.h"
#include "formats/vst3/PlugView.h"
#include "formats/vst3/Utf16Text.h"
#include "params/ParameterTable.h"
#include "params/VolumeCurve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

// The edit controller's side: parameter descriptions and texts, the program
// list, the MIDI controller mapping and the view. Values change the sound only
// through the processor's parameter queues: a value the host sets here is the
// echo of one it sends (or has sent) there, and applying it twice could undo
// a newer one. When a program change takes effect, the processor reports the
// program's values back to the host.

namespace grelmond::vst3 {

using namespace Steinberg;

namespace {

bool isCurved(Vst::ParamID id)
{
    return id == static_cast<Vst::ParamID>(param::kFilterLfoRate) ||
           id == static_cast<Vst::ParamID>(param::kFilterCutoff);
}

// What a display shows for a value: the value itself, or its curve.
float shownFor(Vst::ParamID id, float value)
{
    return isCurved(id) ? VolumeCurve::ofValue(value) : value;
}

// The value whose curve first reaches `shown`.
float valueForCurve(float shown)
{
    for (int i = 0; i < VolumeCurve::kSize; ++i)
        if (VolumeCurve::at(i) >= shown)
            return std::min(1.0f, (static_cast<float>(i) + 0.5f) / (VolumeCurve::kSize - 1));
    return 1.0f;
}

// A number in C notation, whatever the host's locale; blanks around it allowed.
bool parseNumber(const std::string& text, double& value)
{
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return false;
    std::string digits;
    for (std::size_t i = start; i < text.size() && text[i] != ' '; ++i) {
        const char c = text[i];
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
        digits += c;
    }
    if (text.find_first_not_of(' ', start + digits.size()) != std::string::npos || digits.empty())
        return false;
    // strtod reads the decimal point of the C locale only if it is '.', so
    // read the integer and fraction by hand.
    const bool negative = digits[0] == '-';
    std::size_t i = digits[0] == '-' || digits[0] == '+' ? 1 : 0;
    double whole = 0.0, scale = 1.0;
    bool any = false, point = false;
    for (; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            any = true;
            if (point) {
                scale /= 10.0;
                whole += (c - '0') * scale;
            } else {
                whole = whole * 10.0 + (c - '0');
            }
        } else {
            return false;
        }
    }
    value = negative ? -whole : whole;
    return any && std::isfinite(value);
}

} // namespace

int32 PLUGIN_API Vst3Instrument::getParameterCount()
{
    return ParameterLayout::count();
}

tresult PLUGIN_API Vst3Instrument::getParameterInfo(int32 paramIndex, Vst::ParameterInfo& info)
{
    return ParameterLayout::info(paramIndex, info) ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3Instrument::getParamStringByValue(Vst::ParamID id, Vst::ParamValue valueNormalized,
                                                         Vst::String128 string)
{
    if (string == nullptr)
        return kInvalidArgument;
    const double v = std::isfinite(valueNormalized) ? std::clamp(valueNormalized, 0.0, 1.0) : 0.0;
    if (ParameterLayout::isInstrumentParameter(id)) {
        char text[kNumberTextSize] = {};
        float2string(shownFor(id, static_cast<float>(v)), text);
        copyToString128(text, string);
        return kResultOk;
    }
    if (id == ParameterLayout::kProgramId) {
        char name[Instrument::kProgramNameSize] = {};
        instrument_.programName(ParameterLayout::programFromValue(v), name);
        copyToString128(name, string);
        return kResultOk;
    }
    InstrumentEvent event;
    if (ParameterLayout::controllerEvent(id, v, 0, event)) {
        const int number = event.status == 0xE0 ? event.data1 + event.data2 * 128 - 8192 : event.data2;
        copyToString128(std::to_string(number).c_str(), string);
        return kResultOk;
    }
    return kInvalidArgument;
}

tresult PLUGIN_API Vst3Instrument::getParamValueByString(Vst::ParamID id, Vst::TChar* string,
                                                         Vst::ParamValue& valueNormalized)
{
    if (string == nullptr)
        return kInvalidArgument;
    const std::string text = fromUtf16(string);
    if (id == ParameterLayout::kProgramId) {
        for (int p = 0; p < Instrument::kNumPrograms; ++p) {
            char name[Instrument::kProgramNameSize] = {};
            if (instrument_.programName(p, name) && text == name) {
                valueNormalized = ParameterLayout::programValue(p);
                return kResultOk;
            }
        }
        return kResultFalse;
    }
    double number = 0.0;
    if (!ParameterLayout::isInstrumentParameter(id) || !parseNumber(text, number) || number < 0.0 || number > 1.0)
        return kResultFalse;
    valueNormalized = isCurved(id) ? valueForCurve(static_cast<float>(number)) : number;
    return kResultOk;
}

Vst::ParamValue PLUGIN_API Vst3Instrument::normalizedParamToPlain(Vst::ParamID id, Vst::ParamValue valueNormalized)
{
    if (id == ParameterLayout::kProgramId)
        return ParameterLayout::programFromValue(valueNormalized);
    const int steps = ParameterLayout::isInstrumentParameter(id) ? ParameterLayout::stepCount(id) : 0;
    return steps > 0 ? std::round(valueNormalized * steps) : valueNormalized;
}

Vst::ParamValue PLUGIN_API Vst3Instrument::plainParamToNormalized(Vst::ParamID id, Vst::ParamValue plainValue)
{
    if (id == ParameterLayout::kProgramId)
        return ParameterLayout::programValue(static_cast<int>(std::lround(plainValue)));
    const int steps = ParameterLayout::isInstrumentParameter(id) ? ParameterLayout::stepCount(id) : 0;
    const double v = steps > 0 ? plainValue / steps : plainValue;
    return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
}

Vst::ParamValue PLUGIN_API Vst3Instrument::getParamNormalized(Vst::ParamID id)
{
    if (ParameterLayout::isInstrumentParameter(id))
        return instrument_.parameter(static_cast<int>(id));
    if (id == ParameterLayout::kProgramId)
        return ParameterLayout::programValue(instrument_.currentProgram());
    Vst::ParameterInfo info{};
    for (int i = Instrument::kNumParams; ParameterLayout::info(i, info); ++i)
        if (info.id == id)
            return info.defaultNormalizedValue;
    return 0.0;
}

tresult PLUGIN_API Vst3Instrument::setParamNormalized(Vst::ParamID id, Vst::ParamValue value)
{
    if (!std::isfinite(value) || value < 0.0 || value > 1.0)
        return kInvalidArgument;
    InstrumentEvent unused;
    const bool known = ParameterLayout::isInstrumentParameter(id) || id == ParameterLayout::kProgramId ||
                       ParameterLayout::controllerEvent(id, value, 0, unused);
    return known ? kResultOk : kInvalidArgument;
}

void Vst3Instrument::viewRemoved(PlugView* view)
{
    if (view_ == view)
        view_ = nullptr;
}

bool Vst3Instrument::resizeView(int width, int height)
{
    return view_ != nullptr && view_->requestResize(width, height);
}

IPlugView* PLUGIN_API Vst3Instrument::createView(FIDString name)
{
    if (name == nullptr || std::strcmp(name, Vst::ViewType::kEditor) != 0)
        return nullptr;
    return new (std::nothrow) PlugView(*this);
}

tresult PLUGIN_API Vst3Instrument::getMidiControllerAssignment(int32 busIndex, int16, Vst::CtrlNumber midiControllerNumber,
                                                               Vst::ParamID& id)
{
    if (busIndex != 0)
        return kResultFalse;
    id = ParameterLayout::controllerParameter(midiControllerNumber);
    return id != Vst::kNoParamId ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API Vst3Instrument::getUnitInfo(int32 unitIndex, Vst::UnitInfo& info)
{
    if (unitIndex != 0)
        return kInvalidArgument;
    std::memset(&info, 0, sizeof info);
    info.id = Vst::kRootUnitId;
    info.parentUnitId = Vst::kNoParentUnitId;
    copyToString128("Grelmond", info.name);
    info.programListId = ParameterLayout::kProgramListId;
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::getProgramListInfo(int32 listIndex, Vst::ProgramListInfo& info)
{
    if (listIndex != 0)
        return kInvalidArgument;
    std::memset(&info, 0, sizeof info);
    info.id = ParameterLayout::kProgramListId;
    copyToString128("Programs", info.name);
    info.programCount = Instrument::kNumPrograms;
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::getProgramName(Vst::ProgramListID listId, int32 programIndex, Vst::String128 name)
{
    if (listId != ParameterLayout::kProgramListId || name == nullptr)
        return kInvalidArgument;
    char text[Instrument::kProgramNameSize] = {};
    if (!instrument_.programName(programIndex, text))
        return kInvalidArgument;
    copyToString128(text, name);
    return kResultOk;
}

} // namespace grelmond::vst3
