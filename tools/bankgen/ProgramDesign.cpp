#include "ProgramDesign.h"

#include "engine/ProcProcessor.h"

#include <cstdio>
#include <cstdlib>

namespace bankgen {

namespace {

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "bankgen: %s\n", what.c_str());
    std::exit(1);
}

} // namespace

Settings operator+(Settings a, const Settings& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

float shape(const std::string& name)
{
    // Class = trunc(value * 3.1): these values sit well inside each class.
    if (name == "Sine")
        return 0.0f;
    if (name == "Puls")
        return 0.5f;
    if (name == "Saw")
        return 0.8f;
    if (name == "Sqre")
        return 1.0f;
    fail("no oscillator shape named \"" + name + "\"");
}

float proc(const std::string& name)
{
    using grelmond::ProcProcessor;
    for (int f = 0; f < ProcProcessor::functionCount; ++f) {
        if (name == ProcProcessor::functionName(f))
            return f == ProcProcessor::functionCount - 1 ? 1.0f : (static_cast<float>(f) + 0.5f) / 25.1f;
    }
    fail("no proc function named \"" + name + "\"");
}

float coarse(int semitones)
{
    if (semitones < -12 || semitones > 12 || semitones % 3 != 0)
        fail("coarse offsets are multiples of 3 from -12 to 12, not " + std::to_string(semitones));
    return 0.5f + static_cast<float>(semitones) / 24.0f;
}

float copies(int count)
{
    if (count < 0 || count > 10)
        fail("the ensemble has 0 to 10 copies, not " + std::to_string(count));
    return static_cast<float>(count) / 10.0f;
}

const Settings kDry = {
    {"osc1 coarse", coarse(-12)}, {"osc1 fine", 0.5f},
    {"osc2 coarse", coarse(-12)}, {"osc2 fine", 0.5f},
    {"osc3 coarse", coarse(-12)}, {"osc3 fine", 0.5f},
    {"total num of osc", 0.0f},
    {"flang mix", 0.0f},
    {"ldel mix", 0.0f},
    {"rdel mix", 0.0f},
    {"filt lfo depth", 0.0f},
    {"filt cutoff", 0.85f},
    {"filt resonance", 0.2f},
    {"proc function", proc("2 PitchMod Hi")},
    {"proc amount", 0.0f},
    {"amp sustain", 1.0f},
    {"amp release", 0.7f},
};

} // namespace bankgen
