#include "engine/WaveformSet.h"

#include "engine/Waveform.h"
#include "platform/RegularFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace grelmond {

namespace {

constexpr int loopLengths[WaveformSet::count] = {99223, 97859, 98645, 98786, 99022, 99126, 97882, 98450,
                                                 98790, 70678, 99066, 97856, 98645, 98991, 99115, 99098};

constexpr long long sinePeriods = 990; // in the sine's loop: 440 Hz at 44.1 kHz
constexpr double sinePeak = 5300.0;

} // namespace

void WaveformSet::set(int i, Waveform* w) {
    if (i >= 0 && i < count) waveforms_[static_cast<std::size_t>(i)] = w;
}

int WaveformSet::loopLength(int waveform) {
    return waveform >= 0 && waveform < count ? loopLengths[waveform] : Waveform::maxLoopLength;
}

std::string WaveformSet::filePath(const std::string& installFolder) {
    std::string joined = installFolder + "/" + fileName;
    std::string path;
    path.reserve(joined.size());
    for (char c : joined)
        if (!(c == '/' && !path.empty() && path.back() == '/')) path.push_back(c);
    return path;
}

void WaveformSet::load(const std::string& installFolder) {
    makeSine();
    readFile(filePath(installFolder));
    setLoopLengths();
}

void WaveformSet::makeSine() {
    Waveform* w = at(0);
    if (!w || !w->samples()) return;
    int16_t* s = w->samples();
    // A whole number of periods in the loop (440.009 Hz at 44.1 kHz), so a
    // loop pass joins without a phase jump; the samples past the loop repeat
    // its start for the read across the wrap.
    const long long loop = loopLengths[0];
    for (int k = 0; k < Waveform::length; ++k) {
        const double phase = static_cast<double>((k * sinePeriods) % loop) / static_cast<double>(loop);
        s[k] = static_cast<int16_t>(std::trunc(std::sin(phase * 6.28318530718) * sinePeak));
    }
}

void WaveformSet::readFile(const std::string& path) {
    // Opened as the bank files are: a FIFO or device in its place would block the
    // host creating the instance.
    std::FILE* f = platform::openRegularFile(path, true);
    if (!f) return;
    std::vector<unsigned char> block(static_cast<std::size_t>(Waveform::length) * 2);
    for (int k = 1; k <= fileWaveforms; ++k) {
        std::size_t got = std::fread(block.data(), 1, block.size(), f);
        Waveform* w = at(k);
        if (w && w->samples())
            for (std::size_t i = 0; i + 1 < got; i += 2)
                w->samples()[i / 2] = static_cast<int16_t>(static_cast<uint16_t>(block[i] | (block[i + 1] << 8)));
        if (got < block.size()) break;
    }
    std::fclose(f);
}

void WaveformSet::setLoopLengths() {
    for (int i = 0; i < count; ++i)
        if (Waveform* w = at(i)) w->setLoopLength(loopLengths[i]);
}

} // namespace grelmond
