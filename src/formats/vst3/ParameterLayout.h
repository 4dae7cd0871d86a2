#pragma once

// The parameters a VST 3 host sees: the instrument's 64 under ids 0-63, the
// program selector, and hidden parameters that carry the MIDI controllers the
// instrument reads (hosts turn those controllers into these parameters).

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include "core/InstrumentEvent.h"

namespace grelmond::vst3 {

class ParameterLayout {
public:
    static constexpr Steinberg::Vst::ParamID kProgramId = 1000;
    static constexpr Steinberg::Vst::ProgramListID kProgramListId = 1;
    static constexpr int kNumMapped = 4;

    static int count();
    // The host's view of parameter `index`; false outside 0..count()-1.
    static bool info(int index, Steinberg::Vst::ParameterInfo& info);
    static bool isInstrumentParameter(Steinberg::Vst::ParamID id) { return id < 64; }
    // The step count of an instrument parameter (0: continuous).
    static int stepCount(Steinberg::Vst::ParamID id);

    // The hidden parameter for MIDI controller number `controller` (the
    // interface's numbering: 0-127, 128 aftertouch, 129 pitch bend), or kNoParamId.
    static Steinberg::Vst::ParamID controllerParameter(int controller);
    // The MIDI message a hidden parameter's value stands for; false for other ids.
    static bool controllerEvent(Steinberg::Vst::ParamID id, double value, int frame, InstrumentEvent& event);

    // A program index as the program parameter's value, and back.
    static double programValue(int program);
    static int programFromValue(double value);
};

} // namespace grelmond::vst3
