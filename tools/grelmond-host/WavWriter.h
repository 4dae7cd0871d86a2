#pragma once

// Stereo WAV output, as 32-bit float or 24-bit integer: through libsndfile on
// Linux, written directly on Windows.

#ifdef _WIN32
#include <cstdio>
#else
#include <sndfile.h>
#endif

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
#ifdef _WIN32
    bool writeHeader();
    std::FILE* file_ = nullptr;
    Format format_ = Format::Float32;
    int sampleRate_ = 44100;
    unsigned long long frames_ = 0;
    std::vector<unsigned char> bytes_;
#else
    SNDFILE* file_ = nullptr;
#endif
    std::vector<float> interleaved_;
};

} // namespace host
