#include "WavWriter.h"

namespace host {

WavWriter::~WavWriter()
{
    close();
}

bool WavWriter::open(const std::string& path, int sampleRate, Format format, std::string& error)
{
    close();
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | (format == Format::Float32 ? SF_FORMAT_FLOAT : SF_FORMAT_PCM_24);
    file_ = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file_ == nullptr) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    // Integer output clips instead of wrapping around.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return true;
}

bool WavWriter::write(const float* left, const float* right, int frames)
{
    if (file_ == nullptr || frames <= 0)
        return file_ != nullptr;
    interleaved_.resize(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        interleaved_[2 * i] = left[i];
        interleaved_[2 * i + 1] = right[i];
    }
    return sf_writef_float(file_, interleaved_.data(), frames) == frames;
}

bool WavWriter::close()
{
    if (file_ == nullptr)
        return true;
    const bool ok = sf_close(file_) == 0;
    file_ = nullptr;
    return ok;
}

} // namespace host
