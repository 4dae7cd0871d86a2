#include "params/ParameterTable.h"

#include <cmath>

namespace grelmond {
namespace {

constexpr BankFormat P = BankFormat::Plain;
constexpr BankFormat N = BankFormat::NineDecimals;
constexpr BankFormat Z = BankFormat::AlwaysZero;

const ParameterInfo kTable[kNumParameters] = {
    {"Wave1   ", " amount ", 0.0f, "osc1 shape", N},
    {"Coarse1 ", " amount ", 0.0f, "osc1 coarse", P},
    {"Fine1   ", " amount ", 0.0f, "osc1 fine", P},
    {"Vol1    ", " amount ", 0.0f, "osc1 vol", P},
    {"Wave2   ", " amount ", 0.0f, "osc2 shape", N},
    {"Coarse2 ", " amount ", 0.0f, "osc2 coarse", P},
    {"Fine2   ", " amount ", 0.0f, "osc2 fine", P},
    {"Vol2    ", " amount ", 0.0f, "osc2 vol", P},
    {"Wave3   ", " amount ", 0.0f, "osc3 shape", N},
    {"Coarse3 ", " amount ", 0.0f, "osc3 coarse", P},
    {"Fine3   ", " amount ", 0.0f, "osc3 fine", P},
    {"Vol3    ", " amount ", 0.0f, "osc3 vol", P},
    {"PitcRate", " amount ", 0.0f, "pitch mod rate", P},
    {"PitcDpth", " amount ", 0.0f, "pitch mod depth", P},
    {"FltAttac", " amount ", 0.0f, "filt attack", P},
    {"FltrDcay", " amount ", 0.0f, "filt decay", P},
    {"FltrSstn", " amount ", 0.5f, "filt sustain", P},
    {"FltrRles", " amount ", 0.5f, "filt release", P},
    {"ProcAtac", " amount ", 0.5f, "proc attack", P},
    {"ProcDecy", " amount ", 0.5f, "proc decay", P},
    {"ProcSust", " amount ", 0.5f, "proc sustain", P},
    {"ProcRlse", " amount ", 0.5f, "proc release", P},
    {"FlangMix", " amount ", 0.5f, "flang mix", P},
    {"FltEnAmn", " amount ", 0.5f, "filt env amount", P},
    {"Osci1pan", " amount ", 0.5f, "perf porta", P},
    {"Osci2pan", " amount ", 0.5f, "not used", Z},
    {"Osci3pan", " amount ", 0.0f, "not used", Z},
    {"not used", " amount ", 0.0f, "not used", Z},
    {"TotNumOs", " num  ", 0.5f, "total num of osc", P},
    {"DetuneOs", "amount", 0.5f, "detune osc", P},
    {"PrcInvrt", " on/off ", 0.0f, "proc invert", P},
    {"ChrusMix", " amount ", 0.0f, "chor mix", P},
    {"FlLfoRat", " rate   ", 0.5f, "flang rate", P},
    {"FlLfoDpt", " depth  ", 1.0f, "flang depth", P},
    {"FlLfoFrq", " freq   ", 0.5f, "flang freq", P},
    {"FlLfoFed", " feedb  ", 0.3f, "flang feed", P},
    {"FlLfoSnc", " on/off ", 0.0f, "flang sync", P},
    {"AmpVelo", " amount ", 0.0f, "amp velo", P},
    {"not used", "not used", 0.0f, "not used", Z},
    {"not used", "not used", 0.0f, "filt bypass", P},
    {"ChorRate", "ch rate ", 0.0f, "chor rate", P},
    {"ChorDpth", "ch depth", 0.0f, "chor depth", P},
    {"FiltRate", " rate   ", 0.5f, "filt lfo rate", P},
    {"FiltDpth", " depth  ", 1.0f, "filt lfo depth", P},
    {"FiltSync", " on/off ", 0.0f, "filt lfo sync", P},
    {"FiltVelo", " amount ", 0.0f, "filt velo", P},
    {"FiltCut ", " freq   ", 0.5f, "filt cutoff", P},
    {"FiltReso", " amount ", 0.5f, "filt resonance", P},
    {"not used", "not used", 0.0f, "not used", Z},
    {"Ldelay  ", " time   ", 0.5f, "ldel time", P},
    {"LdelMix ", " mix    ", 0.5f, "ldel mix", P},
    {"LdelFdbk", "feedback", 0.5f, "ldel feed", P},
    {"Sync    ", " on/off ", 0.0f, "ldel sync", P},
    {"Rdelay  ", " time   ", 0.5f, "rdel time", P},
    {"RdelMix ", " mix    ", 0.5f, "rdel mix", P},
    {"RdelFdbk", "feedback", 0.5f, "rdel feed", P},
    {"Sync    ", " on/off ", 0.0f, "rdel sync", P},
    {"ProcFunct", "Func", 0.0f, "proc function", P},
    {"ProcAmoun", " Amount ", 0.5f, "proc amount", P},
    {"Attack", " Min/Max", 0.0f, "amp attack", P},
    {"Decay", " Min/Max", 0.5f, "amp decay", P},
    {"Sustain", " Min/Max", 0.5f, "amp sustain", P},
    {"Releas", " Min/Max", 0.5f, "amp release", P},
    {"Main Vol", " Min/Max", 0.5f, "volume", P},
};

} // namespace

const ParameterInfo& parameterInfo(ParameterId index) { return kTable[index]; }

float clampParameterValue(float value) {
  if (!(value > 0.0f)) return 0.0f; // also catches NaN
  return value < 1.0f ? value : 1.0f;
}

} // namespace grelmond
