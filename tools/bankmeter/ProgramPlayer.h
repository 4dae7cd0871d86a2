#pragma once

// One instance of the instrument, built in this process from the library, that
// plays a program the way a host at 120 BPM would: MIDI notes, then whole
// blocks of 512 frames at 44.1 kHz. Its data files come from the installation
// folder ($GRELMOND_INSTALL_PATH).

#include "PitchProbe.h"
#include "formats/vst2/VstAbi.h"

#include <string>
#include <vector>

namespace bankmeter {

class ProgramPlayer {
public:
    static constexpr double kSampleRate = 44100.0;
    static constexpr int kBlock = 512;

    explicit ProgramPlayer(int program);
    ~ProgramPlayer();
    ProgramPlayer(const ProgramPlayer&) = delete;
    ProgramPlayer& operator=(const ProgramPlayer&) = delete;

    bool ok() const { return effect_ != nullptr; }
    std::string programName() const;
    float parameter(int index) const;
    void set(const std::vector<ParameterChange>& changes);

    void notes(const std::vector<int>& keys, int velocity);
    // Renders whole blocks until `seconds` of sound exist.
    void renderUntil(double seconds);

    std::vector<float> stereo; // interleaved
    std::vector<float> mono() const;

private:
    vst::AEffect* effect_ = nullptr;
};

} // namespace bankmeter
