#pragma once

#include <array>
#include <string>

namespace grelmond {

class Waveform;

// The sixteen looped waveforms: a sine computed here and fifteen read from
// the waveform data file of the installation folder. Filled once by the
// plug-in constructor, read-only afterwards.
class WaveformSet {
public:
    static constexpr int count = 16;
    static constexpr int fileWaveforms = 15;
    static constexpr const char* fileName = "Grelmond.dlx";
    static constexpr long fileBytes = 2976750;

    void set(int i, Waveform* w);
    Waveform* at(int i) const { return i >= 0 && i < count ? waveforms_[static_cast<std::size_t>(i)] : nullptr; }

    // Sine, file contents and loop lengths. A missing or short file leaves
    // the unread waveforms silent, and anything but a regular file counts as
    // missing; nothing is reported.
    void load(const std::string& installFolder);

    static std::string filePath(const std::string& installFolder);
    static int loopLength(int waveform);

private:
    void makeSine();
    void readFile(const std::string& path);
    void setLoopLengths();

    std::array<Waveform*, count> waveforms_{};
};

} // namespace grelmond
