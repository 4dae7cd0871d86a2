#pragma once

// Stereo WAV output through libsndfile, as 32-bit float or 24-bit integer.

#include <sndfile.h>

#include <string>
#include <vector>

namespace host {

class WavWriter {
public:
    enum class Format { Float32, Pcm24 };

    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool open(const std::string& path, int sampleRate, Format format, std::string& error);
    bool write(const float* left, const float* right, int frames);
    bool close();

private:
    SNDFILE* file_ = nullptr;
    std::vector<float> interleaved_;
};

} // namespace host
