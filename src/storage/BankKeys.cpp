#include "storage/BankKeys.h"

namespace grelmond {

namespace {
constexpr ValueStyle S = ValueStyle::Short;
constexpr ValueStyle L = ValueStyle::Long;
constexpr ValueStyle Z = ValueStyle::Zero;
} // namespace

const BankKey kBankKeys[kListSize] = {
    {"osc1 shape", L},       {"osc1 coarse", S},     {"osc1 fine", S},       {"osc1 vol", S},
    {"osc2 shape", L},       {"osc2 coarse", S},     {"osc2 fine", S},       {"osc2 vol", S},
    {"osc3 shape", L},       {"osc3 coarse", S},     {"osc3 fine", S},       {"osc3 vol", S},
    {"pitch mod rate", S},   {"pitch mod depth", S}, {"filt attack", S},     {"filt decay", S},
    {"filt sustain", S},     {"filt release", S},    {"proc attack", S},     {"proc decay", S},
    {"proc sustain", S},     {"proc release", S},    {"flang mix", S},       {"filt env amount", S},
    {"perf porta", S},       {"not used", Z},        {"not used", Z},        {"not used", Z},
    {"total num of osc", S}, {"detune osc", S},      {"proc invert", S},     {"chor mix", S},
    {"flang rate", S},       {"flang depth", S},     {"flang freq", S},      {"flang feed", S},
    {"amp velo", S},         {"flang sync", S},      {"not used", Z},        {"filt bypass", S},
    {"chor rate", S},        {"chor depth", S},      {"filt lfo rate", S},   {"filt lfo depth", S},
    {"filt lfo sync", S},    {"filt velo", S},       {"filt cutoff", S},     {"filt resonance", S},
    {"not used", Z},         {"ldel time", S},       {"ldel mix", S},        {"ldel feed", S},
    {"ldel sync", S},        {"rdel time", S},       {"rdel mix", S},        {"rdel feed", S},
    {"rdel sync", S},        {"proc function", S},   {"proc amount", S},     {"amp attack", S},
    {"amp decay", S},        {"amp sustain", S},     {"amp release", S},     {"volume", S},
};

int keyIndex(std::string_view key) {
  for (int i = 0; i < kListSize; ++i)
    if (key == kBankKeys[i].key)
      return i;
  return 0;
}

} // namespace grelmond
