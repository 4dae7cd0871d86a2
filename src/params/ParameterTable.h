#pragma once

#include <cstdint>

namespace grelmond {

// Index of one of the 64 automatable parameters, 0 to 63.
using ParameterId = int32_t;

constexpr int32_t kNumParameters = 64;

// How the bank writer formats a parameter's value.
enum class BankFormat : uint8_t {
  Plain,        // default precision
  NineDecimals, // oscillator shapes need the extra precision
  AlwaysZero,   // unused slots are always written as 0.0
  Exact,        // the shortest text of the very bits (the host state, never a file)
};

struct ParameterInfo {
  const char* name;   // host name, exact, blanks included
  const char* label;  // host label, exact, blanks included
  float defaultValue; // value of the init program
  const char* bankKey;
  BankFormat bankFormat;
};

// Named indices for the parameters that have an effect beyond being stored.
namespace param {
constexpr ParameterId kFine1 = 2;
constexpr ParameterId kFine2 = 6;
constexpr ParameterId kFine3 = 10;
constexpr ParameterId kPitchDepth = 13;
constexpr ParameterId kFilterAttack = 14;
constexpr ParameterId kFilterDecay = 15;
constexpr ParameterId kFilterSustain = 16;
constexpr ParameterId kFilterRelease = 17;
constexpr ParameterId kProcAttack = 18;
constexpr ParameterId kProcDecay = 19;
constexpr ParameterId kProcSustain = 20;
constexpr ParameterId kProcRelease = 21;
constexpr ParameterId kKeyGlide = 24;
constexpr ParameterId kTotalOscillators = 28;
constexpr ParameterId kDetune = 29;
constexpr ParameterId kChorusMix = 31;
constexpr ParameterId kFlangerRate = 32;
constexpr ParameterId kFlangerFeedback = 35;
constexpr ParameterId kFlangerSync = 36;
constexpr ParameterId kAmpVelocity = 37;
constexpr ParameterId kFilterBypass = 39;
constexpr ParameterId kChorusRate = 40;
constexpr ParameterId kFilterLfoRate = 42;
constexpr ParameterId kFilterHighPass = 44;
constexpr ParameterId kFilterCutoff = 46;
constexpr ParameterId kLeftDelayTime = 49;
constexpr ParameterId kRightDelayTime = 53;
constexpr ParameterId kAmpAttack = 59;
constexpr ParameterId kAmpDecay = 60;
constexpr ParameterId kAmpSustain = 61;
constexpr ParameterId kAmpRelease = 62;
constexpr ParameterId kMainVolume = 63;
} // namespace param

constexpr bool isParameterId(int32_t index) { return index >= 0 && index < kNumParameters; }

// The table row of a parameter; index must be 0 to 63.
const ParameterInfo& parameterInfo(ParameterId index);

// Normalised values are 0..1; anything else (NaN included, which counts as 0)
// would index tables out of bounds or reach the engine.
float clampParameterValue(float value);

} // namespace grelmond
